#include <Preferences/PSTableCell.h>

extern "C"
    __attribute__((visibility("default"))) constinit const objc_class OBJC_CLASS_$_PSTableCell{
        "PSTableCell", nullptr, PSTableCellClassMethods<PSTableCell>::classMethods,
        PSTableCellClassMethods<PSTableCell>::instanceMethods};

Ref<PSTableCell> PSTableCell::initWithStyle(UITableViewCellStyle style,
                                            const std::optional<std::string>& reuseIdentifier,
                                            const Ref<PSSpecifier>& specifier) {
    if (!UITableViewCell::initWithStyle(style, reuseIdentifier)) {
        return nullptr;
    }
    _specifier = specifier;
    return self<PSTableCell>();
}

void PSTableCell::refreshCellContentsWithSpecifier(const Ref<PSSpecifier>& specifier) {
    if (specifier) {
        _specifier = specifier;
        textLabel()->setText(specifier->name());
    }
}
