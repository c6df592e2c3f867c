#include <Preferences/PSSwitchTableCell.h>
#include <UIKit/UISwitch.h>

extern "C" __attribute__((
    visibility("default"))) constinit const objc_class OBJC_CLASS_$_PSSwitchTableCell{
    "PSSwitchTableCell", &OBJC_CLASS_$_PSTableCell,
    PSTableCellClassMethods<PSSwitchTableCell>::classMethods,
    PSTableCellClassMethods<PSSwitchTableCell>::instanceMethods};

Ref<PSSwitchTableCell>
PSSwitchTableCell::initWithStyle(UITableViewCellStyle style,
                                 const std::optional<std::string>& reuseIdentifier,
                                 const Ref<PSSpecifier>& specifier) {
    if (!PSTableCell::initWithStyle(style, reuseIdentifier, specifier)) {
        return nullptr;
    }
    _switch = alloc<UISwitch>()->init();
    _switch->addTarget(self<PSSwitchTableCell>(), &PSSwitchTableCell::switchChanged,
                       UIControlEventValueChanged);
    setAccessoryView(_switch);
    return self<PSSwitchTableCell>();
}

void PSSwitchTableCell::refreshCellContentsWithSpecifier(const Ref<PSSpecifier>& specifier) {
    PSTableCell::refreshCellContentsWithSpecifier(specifier);
    if (specifier) {
        _switch->setOn(shownValue(specifier).boolValue());
    }
}

void PSSwitchTableCell::setCellEnabled(bool enabled) {
    PSTableCell::setCellEnabled(enabled);
    _switch->setEnabled(enabled);
    _switch->setAlpha(1);
}

void PSSwitchTableCell::switchChanged(const Ref<UISwitch>& sender) {
    if (Ref<PSSpecifier> row = specifier(); row && sender) {
        row->performSetterWithValue(Value::numberWithBool(sender->isOn()));
    }
}
