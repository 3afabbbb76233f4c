#include "ui/QuitDialog.h"

#include <GL/gl.h>

#include "gfx/ResourceSet.h"

namespace brv {

QuitDialog::QuitDialog(GameContext& context)
    : QuestionDialog(context, {"Do you really", "want", "to exit?"}) {}

void QuitDialog::draw() {
    const ResourceSet& art = context_.art;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    drawBox(art.dialogFrame);
    drawContent();
    struct Line {
        const char* text;
        float x;
        float y;
    };
    static constexpr Line kLines[] = {
        {"Do you really", 50, 100}, {"want", 100, 170}, {"to exit?", 160, 240}};
    // All shadows first, so no shadow falls over an orange line.
    for (const Line& line : kLines) {
        art.font.drawText(line.text, line.x + 2, line.y + 2,
                          {.size = kTitleSize, .colour = {0, 0, 0}, .depth = 10});
    }
    for (const Line& line : kLines) {
        art.font.drawText(line.text, line.x, line.y,
                          {.size = kTitleSize, .colour = {1, 0.3f, 0}, .depth = 10});
    }
    glPopMatrix();
}

}  // namespace brv
