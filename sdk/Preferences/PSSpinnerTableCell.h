#pragma once

#include <Preferences/PSTableCell.h>
#include <UIKit/Forward.h>

// A row that shows work under way: the title with a spinning activity
// indicator at the right. It stores nothing and no touch highlights it.
class PSSpinnerTableCell : public PSTableCell {
public:
    Ref<PSSpinnerTableCell> initWithStyle(UITableViewCellStyle style,
                                          const std::optional<std::string>& reuseIdentifier,
                                          const Ref<PSSpecifier>& specifier);

    Ref<UIActivityIndicatorView> spinner() const { return _spinner; }

private:
    Ref<UIActivityIndicatorView> _spinner;
};

extern "C" __attribute__((visibility("default"))) const objc_class OBJC_CLASS_$_PSSpinnerTableCell;
