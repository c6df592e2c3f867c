#pragma once

#include <Preferences/PSTableCell.h>
#include <UIKit/Forward.h>

// A switch row: the title with a switch at the right. The switch shows the
// stored boolean (its "default" while nothing is stored; text and numbers
// read as NSNumber and NSString read them, anything else as off) and a flip
// stores a boolean.
class PSSwitchTableCell : public PSTableCell {
public:
    Ref<PSSwitchTableCell> initWithStyle(UITableViewCellStyle style,
                                         const std::optional<std::string>& reuseIdentifier,
                                         const Ref<PSSpecifier>& specifier);

    Ref<UISwitch> control() const { return _switch; }

    void refreshCellContentsWithSpecifier(const Ref<PSSpecifier>& specifier) override;
    void setCellEnabled(bool enabled) override;
    void switchChanged(const Ref<UISwitch>& sender);

private:
    Ref<UISwitch> _switch;
};

extern "C" __attribute__((visibility("default"))) const objc_class OBJC_CLASS_$_PSSwitchTableCell;
