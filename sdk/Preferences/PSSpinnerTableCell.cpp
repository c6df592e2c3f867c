#include <Preferences/PSSpinnerTableCell.h>
#include <UIKit/UIActivityIndicatorView.h>

extern "C" __attribute__((
    visibility("default"))) constinit const objc_class OBJC_CLASS_$_PSSpinnerTableCell{
    "PSSpinnerTableCell", &OBJC_CLASS_$_PSTableCell,
    PSTableCellClassMethods<PSSpinnerTableCell>::classMethods,
    PSTableCellClassMethods<PSSpinnerTableCell>::instanceMethods};

Ref<PSSpinnerTableCell>
PSSpinnerTableCell::initWithStyle(UITableViewCellStyle style,
                                  const std::optional<std::string>& reuseIdentifier,
                                  const Ref<PSSpecifier>& specifier) {
    if (!PSTableCell::initWithStyle(style, reuseIdentifier, specifier)) {
        return nullptr;
    }
    setSelectionStyle(UITableViewCellSelectionStyleNone);
    _spinner = alloc<UIActivityIndicatorView>()->init();
    _spinner->startAnimating();
    setAccessoryView(_spinner);
    return self<PSSpinnerTableCell>();
}
