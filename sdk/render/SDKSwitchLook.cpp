#include <render/SDKSwitchLook.h>

#include <UIKit/UIColor.h>
#include <UIKit/UISwitch.h>
#include <render/SDKCanvas.h>
#include <render/SDKViewPainter.h>

namespace {

constexpr CGFloat kThumbInset = 2;

} // namespace

void SDKSwitchLook::draw(const UISwitch& control, SDKViewPainter& painter) const {
    SDKCanvas& canvas = painter.canvas();
    const CGRect bounds = control.bounds();
    if (bounds.size.width <= 0 || bounds.size.height <= 0) {
        return;
    }
    const CGFloat alpha = control.isEnabled() ? 1 : 0.5;
    CGColor track = control.isOn() ? *UIColor::systemGreenColor()->CGColor()
                                   : *UIColor::tertiarySystemFillColor()->CGColor();
    track.alpha *= alpha;
    canvas.fillRoundedRect(bounds, bounds.size.height / 2, track);
    const CGFloat diameter = bounds.size.height - 2 * kThumbInset;
    // The thumb is at the trailing end when on: the left one, right to left.
    const bool atRight = control.isOn() != (control.effectiveUserInterfaceLayoutDirection() ==
                                            UIUserInterfaceLayoutDirectionRightToLeft);
    const CGFloat x = atRight ? bounds.size.width - kThumbInset - diameter : kThumbInset;
    const CGRect thumb = CGRectMake(x, kThumbInset, diameter, diameter);
    for (int ring = 2; ring >= 1; --ring) {
        const CGFloat grow = ring * 1.0;
        canvas.fillRoundedRect(CGRectMake(thumb.origin.x - grow, thumb.origin.y - grow + 1.5,
                                          diameter + 2 * grow, diameter + 2 * grow),
                               diameter / 2 + grow, CGColor{0, 0, 0, 0.05 * alpha});
    }
    canvas.fillRoundedRect(thumb, diameter / 2, CGColor{1, 1, 1, alpha});
}

void SDKSwitchLook::describeView(const UISwitch& control, Value::Dictionary& description) const {
    description["on"] = control.isOn();
    description["enabled"] = control.isEnabled();
}
