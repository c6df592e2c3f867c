#pragma once

#include <optional>
#include <string>

#include <Preferences/Forward.h>
#include <Preferences/PSTableCell.h>
#include <UIKit/Forward.h>

// A settings row for a number in a continuous range: the title at the left, a
// slider in the middle and the value with one decimal at the right. Every
// movement of the slider is shown and stored at once; a tap on the value
// opens an alert to type an exact number.
class KLSliderCell : public PSTableCell {
public:
    Ref<KLSliderCell> initWithStyle(UITableViewCellStyle style,
                                    const std::optional<std::string>& reuseIdentifier,
                                    const Ref<PSSpecifier>& specifier);

    // Shows and stores the slider's value.
    void sliderValueChanged(const Ref<UISlider>& sender);
    // Presents the "Custom value" alert.
    void tapValue(const Ref<UIGestureRecognizer>& sender);

    Ref<UILabel> title() const { return _title; }
    void setTitle(const Ref<UILabel>& title) { _title = title; }
    Ref<UISlider> slider() const { return _slider; }
    void setSlider(const Ref<UISlider>& slider) { _slider = slider; }
    Ref<UILabel> valueLabel() const { return _valueLabel; }
    void setValueLabel(const Ref<UILabel>& valueLabel) { _valueLabel = valueLabel; }
    Ref<UITapGestureRecognizer> tapGesture() const { return _tapGesture; }
    void setTapGesture(const Ref<UITapGestureRecognizer>& tapGesture) { _tapGesture = tapGesture; }

private:
    Ref<UILabel> _title;
    Ref<UISlider> _slider;
    Ref<UILabel> _valueLabel;
    Ref<UITapGestureRecognizer> _tapGesture;
};

extern "C" __attribute__((visibility("default"))) const objc_class OBJC_CLASS_$_KLSliderCell;
