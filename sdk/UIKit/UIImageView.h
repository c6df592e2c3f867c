#pragma once

#include <UIKit/Forward.h>
#include <UIKit/UIView.h>

// Shows an image in its bounds by its content mode; a symbol image is drawn
// in the view's tint.
class UIImageView : public UIView {
public:
    // Sized to the image, as on the platform.
    Ref<UIImageView> initWithImage(const Ref<UIImage>& image);
    Ref<UIImageView> initWithFrame(const CGRect& frame);
    Ref<UIImageView> init() { return initWithFrame(CGRectZero); }

    Ref<UIImage> image() const { return _image; }
    void setImage(const Ref<UIImage>& image);

    // The image's size; none without an image.
    CGSize intrinsicContentSize() const override;

private:
    Ref<UIImage> _image;
};
