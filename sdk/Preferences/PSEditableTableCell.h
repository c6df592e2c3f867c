#pragma once

#include <Preferences/PSTableCell.h>
#include <UIKit/Forward.h>

// A text row: the title at the left and a text field filling the rest,
// showing the stored text (its "default" while nothing is stored; a number
// as its text, anything else as empty) or the "placeholder". The field
// follows "keyboard" ("numbers", "phone", "email", "url"), "isIP", "isURL",
// "isNumeric", "noAutoCorrect" and "autoCaps" ("sentences", "words", "all"
// or "none"); a secure row's field shows bullets. When editing ends (the
// return key or another responder) the text is stored, unless it is what
// the row already showed.
class PSEditableTableCell : public PSTableCell {
public:
    Ref<PSEditableTableCell> initWithStyle(UITableViewCellStyle style,
                                           const std::optional<std::string>& reuseIdentifier,
                                           const Ref<PSSpecifier>& specifier);

    Ref<UITextField> textField() const { return _field; }

    void refreshCellContentsWithSpecifier(const Ref<PSSpecifier>& specifier) override;
    void setCellEnabled(bool enabled) override;
    void layoutSubviews() override;
    void returnPressed(const Ref<UITextField>& sender);
    void editingEnded(const Ref<UITextField>& sender);

    // The title takes its natural width and the field the rest, beyond this
    // gap; a title so long that the field would keep less than this share of
    // the row is truncated.
    static constexpr CGFloat kTitleFieldGap = 8;
    static constexpr CGFloat kLeastFieldShare = 0.3;

private:
    Ref<UITextField> _field;
    std::string _shownText;
};

extern "C" __attribute__((visibility("default"))) const objc_class OBJC_CLASS_$_PSEditableTableCell;
