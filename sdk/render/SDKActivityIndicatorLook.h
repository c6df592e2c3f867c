#pragma once

#include <UIKit/UIActivityIndicatorView.h>
#include <render/SDKTypedViewLook.h>

// A spinner as the platform draws it: eight rounded spokes around the centre
// in its colour, the one at the top strongest and each next one clockwise
// fainter.
class SDKActivityIndicatorLook : public SDKTypedViewLook<UIActivityIndicatorView> {
protected:
    void draw(const UIActivityIndicatorView& view, SDKViewPainter& painter) const override;
    void describeView(const UIActivityIndicatorView& view,
                      Value::Dictionary& description) const override;
};
