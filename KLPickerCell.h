#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <Foundation/Forward.h>
#include <Preferences/Forward.h>
#include <Preferences/PSTableCell.h>
#include <UIKit/Forward.h>

// A 200-point settings row of mutually exclusive image choices side by side,
// one KLPickerChoiceView per entry of the specifier's "choices" (each a
// "title" and an "image" path that may hold ":root:"). The stored value is
// the picked choice's position, an integer.
class KLPickerCell : public PSTableCell {
public:
    Ref<KLPickerCell> initWithStyle(UITableViewCellStyle style,
                                    const std::optional<std::string>& reuseIdentifier,
                                    const Ref<PSSpecifier>& specifier);

    // One choice view per entry, appended to the row. Each takes an equal
    // share of the cell's current width.
    void addChoiceViewsFromArray(const Value& choices);
    // Every choice unpicked; nothing is stored.
    void uncheckAllChoices();
    // Picks the choice at that position, leaving the others as they are. A
    // position that names no choice marks nothing and stores nothing.
    void toggleChoiceWithTag(int32_t tag);
    // The stored value read as an integer; nothing stored reads as 0.
    int32_t enabledChoice();
    // Stores the choice number as an integer.
    void setEnabledChoice(int32_t choice);
    // Picks the stored choice (which stores it again).
    void refreshCellContentsWithSpecifier(const Ref<PSSpecifier>& specifier) override;

    Ref<UIStackView> stackView() const { return _stackView; }
    void setStackView(const Ref<UIStackView>& stackView) { _stackView = stackView; }

    const objc_class* objcClass() const override;

private:
    Ref<UIStackView> _stackView;
};

extern "C" __attribute__((visibility("default"))) const objc_class OBJC_CLASS_$_KLPickerCell;
