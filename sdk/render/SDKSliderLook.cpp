#include <render/SDKSliderLook.h>

#include <UIKit/UISlider.h>
#include <render/SDKCanvas.h>
#include <render/SDKDescription.h>
#include <render/SDKViewPainter.h>

void SDKSliderLook::draw(const UISlider& slider, SDKViewPainter& painter) const {
    SDKCanvas& canvas = painter.canvas();
    const CGRect bounds = slider.bounds();
    if (bounds.size.width <= 0 || bounds.size.height <= 0) {
        return;
    }
    const CGRect track = slider.trackRectForBounds(bounds);
    const CGRect thumb = slider.thumbRectForBounds(bounds, track, slider.value());
    const CGFloat radius = track.size.height / 2;
    const CGFloat split = CGRectGetMidX(thumb);
    const CGFloat alpha = slider.isEnabled() ? 1 : 0.5;
    CGColor filled = *slider.tintColor()->CGColor();
    filled.alpha *= alpha;
    CGColor empty = *UIColor::systemFillColor()->CGColor();
    empty.alpha *= alpha;
    {
        SDKCanvas::State state(canvas);
        canvas.clipToRoundedRect(track, radius);
        // The minimum's side is filled: the right one, right to left.
        const bool rightToLeft = slider.effectiveUserInterfaceLayoutDirection() ==
                                 UIUserInterfaceLayoutDirectionRightToLeft;
        canvas.fillRect(
            CGRectMake(track.origin.x, track.origin.y, split - track.origin.x, track.size.height),
            rightToLeft ? empty : filled);
        canvas.fillRect(
            CGRectMake(split, track.origin.y, CGRectGetMaxX(track) - split, track.size.height),
            rightToLeft ? filled : empty);
    }
    // The shadow: a few widening, fading rings under the thumb.
    for (int ring = 3; ring >= 1; --ring) {
        const CGFloat grow = ring * 1.0;
        canvas.fillRoundedRect(CGRectMake(thumb.origin.x - grow, thumb.origin.y - grow + 2,
                                          thumb.size.width + 2 * grow,
                                          thumb.size.height + 2 * grow),
                               thumb.size.width / 2 + grow, CGColor{0, 0, 0, 0.04});
    }
    canvas.fillRoundedRect(thumb, thumb.size.width / 2, CGColor{1, 1, 1, 1});
    canvas.fillInnerBorder(thumb, thumb.size.width / 2, 0.5, CGColor{0, 0, 0, 0.06});
}

void SDKSliderLook::describeView(const UISlider& slider, Value::Dictionary& description) const {
    description["value"] = static_cast<double>(slider.value());
    description["minimumValue"] = static_cast<double>(slider.minimumValue());
    description["maximumValue"] = static_cast<double>(slider.maximumValue());
    description["enabled"] = slider.isEnabled();
    const CGRect track = slider.trackRectForBounds(slider.bounds());
    const CGRect thumb = slider.thumbRectForBounds(slider.bounds(), track, slider.value());
    description["thumb"] = SDKDescription::rect(slider.convertRectToView(thumb, nullptr));
}
