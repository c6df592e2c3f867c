#pragma once

#include <Preferences/PSTableCell.h>
#include <UIKit/Forward.h>

// A segment row: a segmented control across the row with a segment for each
// of "validTitles" (the values' own text where titles are missing). The
// segment of the stored value (its "default" while nothing is stored) is
// selected, none for a value the row does not list; a tap on a segment
// stores its "validValues" entry.
class PSSegmentTableCell : public PSTableCell {
public:
    Ref<PSSegmentTableCell> initWithStyle(UITableViewCellStyle style,
                                          const std::optional<std::string>& reuseIdentifier,
                                          const Ref<PSSpecifier>& specifier);

    Ref<UISegmentedControl> control() const { return _control; }

    void refreshCellContentsWithSpecifier(const Ref<PSSpecifier>& specifier) override;
    void setCellEnabled(bool enabled) override;
    void layoutSubviews() override;
    void segmentChanged(const Ref<UISegmentedControl>& sender);

private:
    Ref<UISegmentedControl> _control;
};

extern "C" __attribute__((visibility("default"))) const objc_class OBJC_CLASS_$_PSSegmentTableCell;
