#pragma once

#include <UIKit/UIControl.h>

// An area of the colour picker that picks what lies under the finger: the
// grid, the spectrum, the opacity track. It follows a finger from touch
// down to lift, and each place the finger reaches sends value changed; the
// picker reads the place as a fraction of the surface's width and height
// (0 to 1, clamped, so a finger that slid past the edge picks the edge).
class SDKColorPickerSurface : public UIControl {
public:
    Ref<SDKColorPickerSurface> init() {
        UIControl::init();
        return self<SDKColorPickerSurface>();
    }

    CGPoint touchedFraction() const { return _touchedFraction; }

    bool beginTrackingWithTouch(const Ref<UITouch>& touch) override;
    bool continueTrackingWithTouch(const Ref<UITouch>& touch) override;

private:
    void follow(const Ref<UITouch>& touch);

    CGPoint _touchedFraction{};
};
