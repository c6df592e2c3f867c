#include <UIKit/SDKColorPickerSurface.h>

#include <algorithm>

#include <UIKit/UITouch.h>

bool SDKColorPickerSurface::beginTrackingWithTouch(const Ref<UITouch>& touch) {
    follow(touch);
    return true;
}

bool SDKColorPickerSurface::continueTrackingWithTouch(const Ref<UITouch>& touch) {
    follow(touch);
    return true;
}

void SDKColorPickerSurface::follow(const Ref<UITouch>& touch) {
    const CGSize size = bounds().size;
    if (size.width <= 0 || size.height <= 0) {
        return;
    }
    const CGPoint point = touch->locationInView(self<UIView>());
    _touchedFraction = {std::clamp(point.x / size.width, 0.0, 1.0),
                        std::clamp(point.y / size.height, 0.0, 1.0)};
    sendActionsForControlEvents(UIControlEventValueChanged);
}
