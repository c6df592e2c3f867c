#include <Preferences/PSSegmentTableCell.h>
#include <UIKit/UILabel.h>
#include <UIKit/UISegmentedControl.h>

#include <algorithm>

extern "C" __attribute__((
    visibility("default"))) constinit const objc_class OBJC_CLASS_$_PSSegmentTableCell{
    "PSSegmentTableCell", &OBJC_CLASS_$_PSTableCell,
    PSTableCellClassMethods<PSSegmentTableCell>::classMethods,
    PSTableCellClassMethods<PSSegmentTableCell>::instanceMethods};

namespace {

std::vector<std::string> segmentTitles(const Ref<PSSpecifier>& specifier) {
    std::vector<std::string> titles;
    const Value::Array* values =
        specifier ? specifier->propertyForKey("validValues").array() : nullptr;
    if (!values) {
        return titles;
    }
    const Value::Array* named = specifier->propertyForKey("validTitles").array();
    for (size_t i = 0; i < values->size(); ++i) {
        std::optional<std::string> title =
            named && i < named->size() ? (*named)[i].optionalString() : std::nullopt;
        if (!title) {
            title = PSTableCell::textForValue((*values)[i]);
        }
        titles.push_back(title.value_or(""));
    }
    return titles;
}

} // namespace

Ref<PSSegmentTableCell>
PSSegmentTableCell::initWithStyle(UITableViewCellStyle style,
                                  const std::optional<std::string>& reuseIdentifier,
                                  const Ref<PSSpecifier>& specifier) {
    if (!PSTableCell::initWithStyle(style, reuseIdentifier, specifier)) {
        return nullptr;
    }
    _control = alloc<UISegmentedControl>()->initWithItems(segmentTitles(specifier));
    _control->addTarget(self<PSSegmentTableCell>(), &PSSegmentTableCell::segmentChanged,
                        UIControlEventValueChanged);
    contentView()->addSubview(_control);
    return self<PSSegmentTableCell>();
}

void PSSegmentTableCell::refreshCellContentsWithSpecifier(const Ref<PSSpecifier>& specifier) {
    PSTableCell::refreshCellContentsWithSpecifier(specifier);
    // The control takes the whole row; the label stays for the row's name.
    textLabel()->setHidden(true);
    if (specifier) {
        std::optional<size_t> index = indexOfValidValue(specifier, shownValue(specifier));
        _control->setSelectedSegmentIndex(index ? static_cast<long>(*index)
                                                : UISegmentedControl::kNoSegment);
    }
}

void PSSegmentTableCell::setCellEnabled(bool enabled) {
    PSTableCell::setCellEnabled(enabled);
    _control->setEnabled(enabled);
}

void PSSegmentTableCell::layoutSubviews() {
    PSTableCell::layoutSubviews();
    const CGRect content = contentView()->bounds();
    const CGFloat width = std::max(0.0, content.size.width - 2 * kLayoutMargin);
    _control->setFrame(contentView()->directionalRect(
        CGRectMake(kLayoutMargin, (content.size.height - UISegmentedControl::kHeight) / 2, width,
                   UISegmentedControl::kHeight)));
}

void PSSegmentTableCell::segmentChanged(const Ref<UISegmentedControl>& sender) {
    Ref<PSSpecifier> row = specifier();
    const Value::Array* values = row ? row->propertyForKey("validValues").array() : nullptr;
    const long index = sender ? sender->selectedSegmentIndex() : UISegmentedControl::kNoSegment;
    if (values && index >= 0 && static_cast<size_t>(index) < values->size()) {
        row->performSetterWithValue((*values)[static_cast<size_t>(index)]);
    }
}
