#include <UIKit/UIImageView.h>

#include <UIKit/SDKMainThreadChecker.h>
#include <UIKit/UIImage.h>

Ref<UIImageView> UIImageView::initWithImage(const Ref<UIImage>& image) {
    const SDKMainThreadChecker::Entry entry("-[UIImageView initWithImage:]");
    initWithFrame(image ? CGRect{{0, 0}, image->size()} : CGRectZero);
    _image = image;
    return self<UIImageView>();
}

Ref<UIImageView> UIImageView::initWithFrame(const CGRect& frame) {
    const SDKMainThreadChecker::Entry entry("-[UIImageView initWithFrame:]");
    UIView::initWithFrame(frame);
    setUserInteractionEnabled(false);
    return self<UIImageView>();
}

void UIImageView::setImage(const Ref<UIImage>& image) {
    const SDKMainThreadChecker::Entry entry("-[UIImageView setImage:]");
    const CGSize before = intrinsicContentSize();
    _image = image;
    setNeedsLayout();
    if (intrinsicContentSize() != before) {
        invalidateIntrinsicContentSize();
    }
}

CGSize UIImageView::intrinsicContentSize() const {
    if (!_image) {
        return CGSizeMake(UIViewNoIntrinsicMetric, UIViewNoIntrinsicMetric);
    }
    return _image->size();
}
