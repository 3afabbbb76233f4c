// The least a program like the game must do to show its first frame: open
// the window, upload one 1024 x 1024 texture, draw it once and exit.
// bench/run compares its CPU time with the game's to the first menu frame.
#include "bench/ref/RefWindow.h"

int main() {
    brv::RefWindow window("ref_texture", false);
    if (!window.ready()) {
        return 1;
    }
    window.uploadTexture();
    window.drawQuad();
    window.swap();
    return 0;
}
