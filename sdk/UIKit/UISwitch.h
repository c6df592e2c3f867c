#pragma once

#include <UIKit/UIControl.h>

// An on/off switch: a rounded track, green while on, with a white thumb at
// the end of its state. A tap on it flips the state and sends
// UIControlEventValueChanged; setting the state sends nothing.
class UISwitch : public UIControl {
public:
    Ref<UISwitch> initWithFrame(const CGRect& frame);
    Ref<UISwitch> init() { return initWithFrame(CGRectZero); }

    bool isOn() const { return _on; }
    void setOn(bool on, bool animated = false);

    // Always the platform's size, whatever frame it is given.
    CGSize intrinsicContentSize() const override;
    CGSize sizeThatFits(CGSize size) const override;

    void endTrackingWithTouch(const Ref<UITouch>& touch) override;

    static constexpr CGFloat kWidth = 51;
    static constexpr CGFloat kHeight = 31;

private:
    bool _on = false;
};
