// The drawing members of the simulation objects, kept apart from the rules so
// that the rules build and run without any drawing code. Each object keeps
// only its animation clock; the art is the resource set's shared template,
// drawn at the cell the clock shows. These run once per frame in the logical
// projection (origin top left, y down, depth -50 to 50).
#include <GL/gl.h>

#include <array>
#include <memory>
#include <vector>

#include "config/GameParams.h"
#include "gfx/ResourceSet.h"
#include "gfx/StretchedPicture.h"
#include "sim/Colony.h"
#include "sim/Flag.h"
#include "sim/LifeSource.h"
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

// The points of each colony, gathered in one pass over the grid and handed
// to GL as one vertex array per colony rather than one call per virus. Kept
// between frames so drawing allocates nothing once the field has grown.
std::vector<float>& pointsOf(std::size_t colony) {
    static std::array<std::vector<float>, World::kMaxColonies> points;
    return points[colony];
}

void gatherPoints(const std::vector<std::unique_ptr<Virus>>& cells,
                  const std::vector<std::unique_ptr<Colony>>& colonies) {
    for (std::size_t k = 0; k < colonies.size(); ++k) {
        pointsOf(k).clear();
    }
    for (const auto& cell : cells) {
        if (!cell) {
            continue;
        }
        for (std::size_t k = 0; k < colonies.size(); ++k) {
            if (cell->colony() == colonies[k].get()) {
                pointsOf(k).push_back(cell->x());
                pointsOf(k).push_back(cell->y());
                break;
            }
        }
    }
}

}  // namespace

void World::draw() const {
    ResourceSet& art = resourceSet(params_);
    glPushMatrix();
    art.backdrop.draw(art.fieldTextures[backgroundIndex_ % ResourceSet::kFieldTextureCount],
                      static_cast<float>(params_.m_screen_width),
                      static_cast<float>(params_.m_screen_height));
    glDisable(GL_TEXTURE_2D);
    glPointSize(params_.m_virus_size);
    // Viruses and sources stand one pixel in from their cell's corner and
    // above the field.
    glTranslatef(1, 1, 10);
    gatherPoints(cells_, colonies_);
    glEnableClientState(GL_VERTEX_ARRAY);
    for (std::size_t k = 0; k < colonies_.size(); ++k) {
        const Colony& colony = *colonies_[k];
        const std::vector<float>& points = pointsOf(k);
        const ColonyColour colour = drawnColour(colony, k);
        glColor3f(colour.red, colour.green, colour.blue);
        glVertexPointer(2, GL_FLOAT, 0, points.data());
        glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(points.size() / 2));
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    for (const auto& source : lifeSources_) {
        source->draw();
    }
    glColor4f(1, 1, 1, 1);
    glPointSize(1);
    glPopMatrix();
}

void LifeSource::draw() const {
    const float p = params_.m_distance_beween_viruses;
    const float x = static_cast<float>(column_) * p;
    const float y = static_cast<float>(row_) * p;
    const float left = reserveLeft();
    // Below a quarter the source warns that it is running out: its ring
    // blinks on the world's 30-tick beat (0.9 s, the same for every source)
    // and its glow fades with what is left.
    const bool nearlySpent = left < kNearlySpentShare;
    const bool onBeat = World::influenceTick() < World::kInfluenceEveryTicks / 2;
    drawReserveRing(x, y, left, !nearlySpent || onBeat);
    const float glow =
        nearlySpent ? kSpentGlow + (1 - kSpentGlow) * left / kNearlySpentShare : 1.0f;
    resourceSet(params_).lifeSourceSprite.drawCell(animation_.frame(), animation_.group(), x, y, 0,
                                                   true, Colour{1, 1, 1, glow});
}

void Flag::draw(const Sprite& art, float pitch, const Colour& tint) const {
    art.drawCell(animation_.frame(), animation_.group(), static_cast<float>(column_) * pitch,
                 static_cast<float>(row_) * pitch, 10, true, tint);
}

void Colony::drawFlags() const {
    if (isComputer()) {
        return;
    }
    const Sprite& art = resourceSet(params_).flagSprite;
    // Only the player's flags are drawn; under the colour-blind palette they
    // take on the player's colour, otherwise the art's own.
    Colour tint;
    if (params_.m_preferences.colourBlindPalette) {
        const ColonyColour& player = kColourBlindColours[0];
        tint = {player.red, player.green, player.blue};
    }
    for (const auto& flag : flags_) {
        flag->draw(art, pitch(), tint);
    }
}

}  // namespace brv
