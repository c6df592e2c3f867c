#pragma once

#include <optional>
#include <string>

#include <Preferences/PSSpecifier.h>
#include <UIKit/UITableViewCell.h>
#include <objc/ObjCExport.h>

// A row of a settings page, made for a specifier. It shows the standard
// rows that need no control of their own: a button row's tinted title (red
// when "isDestructive"), a link's disclosure chevron, the stored value at
// the right of a title-value row and of a list link (its "shortTitles" or
// "validTitles" entry), the bundle's image that "icon" names at the left
// of any row, and a static text row's plain title that no touch highlights.
// A row whose "enabled" is false is dimmed and takes no touches.
class PSTableCell : public UITableViewCell {
public:
    Ref<PSTableCell> initWithStyle(UITableViewCellStyle style,
                                   const std::optional<std::string>& reuseIdentifier,
                                   const Ref<PSSpecifier>& specifier);

    Ref<PSSpecifier> specifier() const { return _specifier; }
    void setSpecifier(const Ref<PSSpecifier>& specifier) { _specifier = specifier; }

    // Sent when the row reloads: shows the specifier's label and the rest of
    // the standard row's contents.
    virtual void refreshCellContentsWithSpecifier(const Ref<PSSpecifier>& specifier);

    // Shows the image at the row's left, its longer side kIconSide points;
    // nil shows none.
    void setIcon(const Ref<UIImage>& icon);

    bool cellEnabled() const { return _cellEnabled; }
    virtual void setCellEnabled(bool enabled);

    // The row's stored value, or its "default" while nothing is stored; the
    // specifier's getter still yields nil then.
    static Value shownValue(const Ref<PSSpecifier>& specifier);
    // The entry of "validValues" equal to the value (numbers compare by
    // amount); nil when none is.
    static std::optional<size_t> indexOfValidValue(const Ref<PSSpecifier>& specifier,
                                                   const Value& value);
    // The title shown for the row's value: its "shortTitles" or
    // "validTitles" entry, the text itself for a title-value row; nil for a
    // value the row does not list.
    static std::optional<std::string> titleForValue(const Ref<PSSpecifier>& specifier,
                                                    const Value& value);
    // A text or number as its text; nil for other kinds.
    static std::optional<std::string> textForValue(const Value& value);

    static constexpr CGFloat kIconSide = 29;

private:
    Ref<PSSpecifier> _specifier;
    // The "icon" last looked up, so that a refresh reads its file only when it changes.
    std::optional<std::string> _iconName;
    bool _iconShown = false;
    bool _cellEnabled = true;
};

extern "C" __attribute__((visibility("default"))) const objc_class OBJC_CLASS_$_PSTableCell;

// The messages by which the list controller makes a cell of a class it only
// knows by name: "alloc" on the class, then
// "initWithStyle:reuseIdentifier:specifier:" on the new cell. A library
// exports each cell class with these.
template <class Cell> struct PSTableCellClassMethods {
    static constexpr objc_method classMethods[] = {ObjCExport::allocMethod<Cell>()};
    static constexpr objc_method instanceMethods[] = {
        ObjCExport::method<&Cell::initWithStyle>("initWithStyle:reuseIdentifier:specifier:")};
};
