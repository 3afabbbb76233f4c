#include "ui/RadioGroup.h"

#include "ui/RadioButton.h"

namespace brv {

void RadioGroup::uncheckOthers(const RadioButton* radio) {
    for (RadioButton* member : members_) {
        if (member != radio) {
            member->setChecked(false);
        }
    }
}

int RadioGroup::checkedIndex() const {
    for (std::size_t i = 0; i < members_.size(); ++i) {
        if (members_[i]->checked()) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace brv
