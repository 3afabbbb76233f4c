#pragma once

#include <vector>

namespace brv {

class RadioButton;

// The options that exclude each other. The group refers to buttons its owner
// keeps and never unchecks by itself: the owner calls uncheckOthers when an
// option reports that it became checked.
class RadioGroup {
public:
    RadioGroup() = default;
    virtual ~RadioGroup() = default;
    RadioGroup(const RadioGroup&) = delete;
    RadioGroup& operator=(const RadioGroup&) = delete;

    void add(RadioButton* radio) { members_.push_back(radio); }
    void uncheckOthers(const RadioButton* radio);
    // 0-based index of the first checked option, -1 when none is.
    int checkedIndex() const;
    const std::vector<RadioButton*>& members() const { return members_; }

private:
    std::vector<RadioButton*> members_;
};

}  // namespace brv
