#pragma once

#include "ui/QuestionDialog.h"

namespace brv {

// Asks whether the player really wants to leave: OK (or Enter) closes with
// result 0, after which the main screen ends the program; Cancel (or Escape)
// with result 1. The question's box, buttons and centred lines.
class QuitDialog : public QuestionDialog {
public:
    explicit QuitDialog(GameContext& context);
};

}  // namespace brv
