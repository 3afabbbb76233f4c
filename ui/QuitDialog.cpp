#include "ui/QuitDialog.h"

namespace brv {

// One question, broken where a sentence breaks and centred like any other.
QuitDialog::QuitDialog(GameContext& context)
    : QuestionDialog(context, {"Do you really want", "to exit?"}) {}

}  // namespace brv
