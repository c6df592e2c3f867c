#include <UIKit/UIImageView.h>

Ref<UIImageView> UIImageView::initWithImage(const Ref<UIImage>& image) {
    initWithFrame(image ? CGRect{{0, 0}, image->size()} : CGRectZero);
    _image = image;
    return self<UIImageView>();
}

void UIImageView::setImage(const Ref<UIImage>& image) {
    _image = image;
    setNeedsLayout();
}
