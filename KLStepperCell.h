#pragma once

#include <optional>
#include <string>

#include <Preferences/Forward.h>
#include <Preferences/PSTableCell.h>
#include <UIKit/Forward.h>

// A settings row for a number changed in steps of 1: the title at the left, a
// stepper in the middle and the value with one decimal at the right. Each
// step is shown and stored at once, and stepping past one bound wraps to the
// other; a tap on the value opens an alert to type an exact number.
//
// Bounds the stepper cannot take never stop the row: the minimum is applied,
// then the maximum, then the minimum again if it was refused only because the
// stepper's previous maximum was in its way. A bound still refused leaves the
// stepper's own (0 for the minimum, 100 for the maximum).
class KLStepperCell : public PSTableCell {
public:
    Ref<KLStepperCell> initWithStyle(UITableViewCellStyle style,
                                     const std::optional<std::string>& reuseIdentifier,
                                     const Ref<PSSpecifier>& specifier);

    // Shows and stores the stepper's value.
    void sliderValueChanged(const Ref<UIStepper>& sender);
    // Presents the "Custom value" alert.
    void tapValue(const Ref<UIGestureRecognizer>& sender);

    Ref<UILabel> title() const { return _title; }
    void setTitle(const Ref<UILabel>& title) { _title = title; }
    Ref<UIStepper> stepper() const { return _stepper; }
    void setStepper(const Ref<UIStepper>& stepper) { _stepper = stepper; }
    Ref<UILabel> valueLabel() const { return _valueLabel; }
    void setValueLabel(const Ref<UILabel>& valueLabel) { _valueLabel = valueLabel; }
    Ref<UITapGestureRecognizer> tapGesture() const { return _tapGesture; }
    void setTapGesture(const Ref<UITapGestureRecognizer>& tapGesture) { _tapGesture = tapGesture; }

private:
    Ref<UILabel> _title;
    Ref<UIStepper> _stepper;
    Ref<UILabel> _valueLabel;
    Ref<UITapGestureRecognizer> _tapGesture;
};

extern "C" __attribute__((visibility("default"))) const objc_class OBJC_CLASS_$_KLStepperCell;
