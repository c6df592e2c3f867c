#pragma once

#include <UIKit/UIAlertController.h>
#include <render/SDKScreenLook.h>

// An alert in the middle of the dimmed screen: a rounded light panel with
// the title in bold and the message under it, its text fields, and its
// buttons under hairlines, side by side when there are two and stacked
// otherwise; the cancel-style and preferred buttons in bold, destructive
// ones in red, disabled ones faint.
class SDKAlertScreenLook : public SDKScreenLook {
public:
    bool matches(const UIViewController& controller) const override;
    void draw(UIViewController& controller, SDKViewPainter& painter,
              const CGRect& screen) const override;
    void describe(UIViewController& controller, Value::Dictionary& description) const override;

    static constexpr CGFloat kWidth = 270;
    static constexpr CGFloat kButtonHeight = 44;
    static constexpr CGFloat kFieldHeight = 26;
};
