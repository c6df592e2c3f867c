#pragma once

#include <Preferences/PSTableCell.h>
#include <UIKit/Forward.h>

// A slider row: a slider across the row from "min" to "max" (0 to 1 when
// missing) at the stored number (its "default" while nothing is stored),
// with the value at the right when "showValue" is set. With "isSegmented"
// the value snaps to "segmentCount" equal steps. "leftImage" and
// "rightImage" name images of the bundle shown at the slider's ends. Every
// movement stores the value as a real number.
class PSSliderTableCell : public PSTableCell {
public:
    Ref<PSSliderTableCell> initWithStyle(UITableViewCellStyle style,
                                         const std::optional<std::string>& reuseIdentifier,
                                         const Ref<PSSpecifier>& specifier);

    Ref<UISlider> control() const { return _slider; }
    // nil unless "showValue" is set.
    Ref<UILabel> valueLabel() const { return _valueLabel; }

    void refreshCellContentsWithSpecifier(const Ref<PSSpecifier>& specifier) override;
    void setCellEnabled(bool enabled) override;
    void layoutSubviews() override;
    void sliderChanged(const Ref<UISlider>& sender);

    static constexpr CGFloat kValueWidth = 60;

private:
    // The value moved to the nearest step when the row is segmented.
    float snapped(float value) const;
    void showValue(float value);

    Ref<UISlider> _slider;
    Ref<UILabel> _valueLabel;
};

extern "C" __attribute__((visibility("default"))) const objc_class OBJC_CLASS_$_PSSliderTableCell;
