#pragma once

#include <UIKit/UIImageView.h>
#include <render/SDKTypedViewLook.h>

// An image view's image placed by its content mode: decoded pixels as they
// are, a system symbol from our glyph catalogue in the view's tint.
class SDKImageViewLook : public SDKTypedViewLook<UIImageView> {
public:
    // Where an image of `size` goes in `bounds` for the content mode.
    static CGRect imageRect(UIViewContentMode mode, const CGRect& bounds, CGSize size);

protected:
    void draw(const UIImageView& view, SDKViewPainter& painter) const override;
    void describeView(const UIImageView& view, Value::Dictionary& description) const override;
};
