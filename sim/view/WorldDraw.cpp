// The drawing of the simulation's objects, kept apart from the rules so that
// the rules build and run without any drawing code. Each object keeps only
// its animation clock; the art is the resource set's shared template, drawn
// at the cell the clock shows. These run once per frame in the logical
// projection (origin top left, y down, depth -50 to 50).
#include "sim/view/WorldDraw.h"

#include <GL/gl.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <vector>

#include "config/GameParams.h"
#include "gfx/ResourceSet.h"
#include "gfx/StretchedPicture.h"
#include "sim/Colony.h"
#include "sim/Flag.h"
#include "sim/LifeSource.h"
#include "sim/RulesState.h"
#include "sim/Virus.h"
#include "sim/World.h"
#include "sim/view/ColonyPalette.h"
#include "sim/view/ReserveRing.h"

namespace brv {

namespace {

// A life source holding less than this share of its starting reserve looks
// nearly spent; at the rate a crowd drains one, that leaves a few seconds to
// move on.
constexpr float kNearlySpentShare = 0.25f;
// How much of its glow a source keeps at the very end.
constexpr float kSpentGlow = 0.4f;

// A virus starves when no source feeds its cell and its life has fallen below
// half the shortest one a virus is born with: without food it dies within
// seconds (about thirteen on Easy). A fed virus that has just paid for a child may
// dip as low, but the source tops it up, so it is not shown starving. Most
// viruses stop at the first comparison; only the low ones look at the sources.
class Hunger {
public:
    explicit Hunger(const World& world)
        : world_(world),
          lowLife_(world.params().m_min_life_reserve[world.difficulty()] / 2),
          reach_(world.params().m_life_src_visible / 2) {}

    bool starving(const Virus& virus) const {
        if (virus.life() >= lowLife_) {
            return false;
        }
        for (const auto& source : world_.lifeSources()) {
            if (std::abs(source->column() - virus.column()) <= reach_ &&
                std::abs(source->row() - virus.row()) <= reach_) {
                return false;
            }
        }
        return true;
    }

private:
    const World& world_;
    int lowLife_;
    int reach_;
};

// In slot order, column by column, as the grid holds them.
void gatherPoints(const World& world, WorldPoints& drawn) {
    const auto& colonies = world.colonies();
    for (std::size_t k = 0; k < colonies.size(); ++k) {
        drawn.of(k, false).clear();
        drawn.of(k, true).clear();
    }
    const Hunger hunger(world);
    for (int c = 0; c < World::kColumns; ++c) {
        for (int r = 0; r < World::kRows; ++r) {
            const Virus* cell = world.virusAt(c, r);
            if (cell == nullptr) {
                continue;
            }
            for (std::size_t k = 0; k < colonies.size(); ++k) {
                if (cell->colony() == colonies[k].get()) {
                    std::vector<float>& points = drawn.of(k, hunger.starving(*cell));
                    points.push_back(cell->x());
                    points.push_back(cell->y());
                    break;
                }
            }
        }
    }
}

void drawPoints(const std::vector<float>& points, const ColonyColour& colour) {
    glColor3f(colour.red, colour.green, colour.blue);
    glVertexPointer(2, GL_FLOAT, 0, points.data());
    glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(points.size() / 2));
}

// The life-source art's cell its clock shows, on its cell, inside a ring
// showing the reserve left; `influenceTick` is the drawn world's own phase.
void drawLifeSource(const LifeSource& source, const GameParams& params, const Sprite& art,
                    int influenceTick) {
    const float p = params.m_distance_beween_viruses;
    const float x = static_cast<float>(source.column()) * p;
    const float y = static_cast<float>(source.row()) * p;
    const float left = source.reserveLeft();
    // Below a quarter the source warns that it is running out: its ring
    // blinks on the world's 30-tick beat (0.9 s, the same for every source)
    // and its glow fades with what is left.
    const bool nearlySpent = left < kNearlySpentShare;
    const bool onBeat = influenceTick < World::kInfluenceEveryTicks / 2;
    drawReserveRing(x, y, left, !nearlySpent || onBeat);
    const float glow =
        nearlySpent ? kSpentGlow + (1 - kSpentGlow) * left / kNearlySpentShare : 1.0f;
    const SpriteAnimation& clock = source.animation();
    art.drawCell(clock.frame(), clock.group(), x, y, 0, true, Colour{1, 1, 1, glow});
}

// The flag art's cell its clock shows, on its cell, above the viruses, its
// colours multiplied by `tint`.
void drawFlag(const Flag& flag, const Sprite& art, float pitch, const Colour& tint) {
    const SpriteAnimation& clock = flag.animation();
    art.drawCell(clock.frame(), clock.group(), static_cast<float>(flag.column()) * pitch,
                 static_cast<float>(flag.row()) * pitch, 10, true, tint);
}

}  // namespace

void drawWorld(const World& world, const GameParams& params, ResourceSet& art,
               WorldPoints& points) {
    glPushMatrix();
    art.backdrop.draw(art.fieldTextures[world.backgroundIndex() % ResourceSet::kFieldTextureCount],
                      static_cast<float>(params.m_screen_width),
                      static_cast<float>(params.m_screen_height));
    glDisable(GL_TEXTURE_2D);
    glPointSize(params.m_virus_size);
    // Viruses and sources stand one pixel in from their cell's corner and
    // above the field.
    glTranslatef(1, 1, 10);
    gatherPoints(world, points);
    const auto& colonies = world.colonies();
    glEnableClientState(GL_VERTEX_ARRAY);
    for (std::size_t k = 0; k < colonies.size(); ++k) {
        const ColonyColour colour = drawnColour(*colonies[k], k, params);
        drawPoints(points.of(k, false), colour);
        drawPoints(points.of(k, true), starvingColour(colour));
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    for (const auto& source : world.lifeSources()) {
        drawLifeSource(*source, params, art.lifeSourceSprite, world.rules().influenceTick());
    }
    glColor4f(1, 1, 1, 1);
    glPointSize(1);
    glPopMatrix();
}

void drawFlags(const Colony& colony, const GameParams& params, const ResourceSet& art) {
    if (colony.isComputer()) {
        return;
    }
    const Sprite& flagArt = art.flagSprite;
    // Only the player's flags are drawn; under the colour-blind palette they
    // take on the player's colour, otherwise the art's own.
    Colour tint;
    if (params.m_preferences.colourBlindPalette) {
        const ColonyColour& player = kColourBlindColours[0];
        tint = {player.red, player.green, player.blue};
    }
    const float pitch = params.m_distance_beween_viruses;
    for (const auto& flag : colony.flags()) {
        drawFlag(*flag, flagArt, pitch, tint);
    }
}

}  // namespace brv
