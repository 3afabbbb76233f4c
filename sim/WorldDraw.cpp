// The drawing members of the simulation objects. Everything else in the
// simulation stays free of GL; these run once per frame in the logical
// projection (origin top left, y down, depth -50 to 50).
#include <GL/gl.h>

#include "config/GameParams.h"
#include "gfx/ResourceSet.h"
#include "sim/Colony.h"
#include "sim/Flag.h"
#include "sim/LifeSource.h"
#include "sim/Virus.h"
#include "sim/World.h"

namespace brv {

namespace {

// The field picture stretched over the logical area at depth 0. The pictures
// are stored bottom row first, hence t = 1 at the top edge.
void drawField(const Texture& texture, float width, float height) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture.glName());
    glColor4f(1, 1, 1, 1);
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(0, 1);
    glVertex3f(0, 0, 0);
    glTexCoord2f(0, 0);
    glVertex3f(0, height, 0);
    glTexCoord2f(1, 1);
    glVertex3f(width, 0, 0);
    glTexCoord2f(1, 0);
    glVertex3f(width, height, 0);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

}  // namespace

void World::draw() {
    ResourceSet& art = resourceSet(params_);
    glPushMatrix();
    drawField(art.fieldTextures[backgroundIndex_ % ResourceSet::kFieldTextureCount],
              static_cast<float>(params_.m_screen_width),
              static_cast<float>(params_.m_screen_height));
    glPointSize(params_.m_virus_size);
    // Viruses and sources stand one pixel in from their cell's corner and
    // above the field.
    glTranslatef(1, 1, 10);
    for (const auto& colony : colonies_) {
        const Colony* own = colony.get();
        glColor3f(own->red(), own->green(), own->blue());
        glBegin(GL_POINTS);
        for (const auto& cell : cells_) {
            if (cell && cell->colony() == own) {
                glVertex2f(cell->x(), cell->y());
            }
        }
        glEnd();
    }
    for (auto& source : lifeSources_) {
        source->draw();
    }
    glColor4f(1, 1, 1, 1);
    glPointSize(1);
    glPopMatrix();
}

void LifeSource::draw() {
    const float p = params_.m_distance_beween_viruses;
    glColor4f(1, 1, 1, 1);
    sprite_.x = static_cast<float>(column_) * p;
    sprite_.y = static_cast<float>(row_) * p;
    sprite_.z = 0;
    sprite_.draw(true);
}

void Flag::draw(float pitch) {
    sprite_.x = static_cast<float>(column_) * pitch;
    sprite_.y = static_cast<float>(row_) * pitch;
    sprite_.z = 10;
    sprite_.draw(true);
}

void Colony::drawFlags() {
    for (auto& flag : flags_) {
        flag->draw(pitch());
    }
}

}  // namespace brv
