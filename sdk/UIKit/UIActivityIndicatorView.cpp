#include <UIKit/UIActivityIndicatorView.h>
#include <UIKit/UIColor.h>

Ref<UIActivityIndicatorView>
UIActivityIndicatorView::initWithActivityIndicatorStyle(UIActivityIndicatorViewStyle style) {
    _style =
        style == UIActivityIndicatorViewStyleLarge ? style : UIActivityIndicatorViewStyleMedium;
    UIView::initWithFrame(CGRectMake(0, 0, side(), side()));
    setUserInteractionEnabled(false);
    _color = UIColor::secondaryLabelColor();
    setHidden(true);
    return self<UIActivityIndicatorView>();
}

void UIActivityIndicatorView::setColor(const Ref<UIColor>& color) {
    _color = color ? color : UIColor::secondaryLabelColor();
}

void UIActivityIndicatorView::startAnimating() {
    _animating = true;
    setHidden(false);
}

void UIActivityIndicatorView::stopAnimating() {
    _animating = false;
    if (_hidesWhenStopped) {
        setHidden(true);
    }
}

void UIActivityIndicatorView::setHidesWhenStopped(bool hides) {
    _hidesWhenStopped = hides;
    setHidden(hides && !_animating);
}

CGFloat UIActivityIndicatorView::side() const {
    return _style == UIActivityIndicatorViewStyleLarge ? kLargeSide : kMediumSide;
}

CGSize UIActivityIndicatorView::intrinsicContentSize() const {
    return CGSizeMake(side(), side());
}

CGSize UIActivityIndicatorView::sizeThatFits(CGSize) const {
    return intrinsicContentSize();
}
