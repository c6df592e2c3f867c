#pragma once

#include <optional>
#include <string>

#include <Preferences/PSSpecifier.h>
#include <UIKit/UITableViewCell.h>
#include <objc/ObjCExport.h>

// A row of a settings page, made for a specifier.
class PSTableCell : public UITableViewCell {
public:
    Ref<PSTableCell> initWithStyle(UITableViewCellStyle style,
                                   const std::optional<std::string>& reuseIdentifier,
                                   const Ref<PSSpecifier>& specifier);

    Ref<PSSpecifier> specifier() const { return _specifier; }
    void setSpecifier(const Ref<PSSpecifier>& specifier) { _specifier = specifier; }

    // Sent when the row reloads: shows the specifier's label as the title.
    virtual void refreshCellContentsWithSpecifier(const Ref<PSSpecifier>& specifier);

private:
    Ref<PSSpecifier> _specifier;
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
