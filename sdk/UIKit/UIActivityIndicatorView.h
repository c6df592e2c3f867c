#pragma once

#include <UIKit/Forward.h>
#include <UIKit/UIView.h>

enum UIActivityIndicatorViewStyle : NSInteger {
    UIActivityIndicatorViewStyleMedium = 100,
    UIActivityIndicatorViewStyleLarge = 101,
};

// The spinner that shows work under way: eight spokes around a centre, fading
// from the leading one. While stopped it is hidden unless told otherwise.
class UIActivityIndicatorView : public UIView {
public:
    Ref<UIActivityIndicatorView> initWithActivityIndicatorStyle(UIActivityIndicatorViewStyle style);
    Ref<UIActivityIndicatorView> init() {
        return initWithActivityIndicatorStyle(UIActivityIndicatorViewStyleMedium);
    }

    UIActivityIndicatorViewStyle activityIndicatorViewStyle() const { return _style; }
    Ref<UIColor> color() const { return _color; }
    void setColor(const Ref<UIColor>& color);

    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return _animating; }
    bool hidesWhenStopped() const { return _hidesWhenStopped; }
    void setHidesWhenStopped(bool hides);

    // The style's square size, whatever frame it is given.
    CGSize intrinsicContentSize() const override;
    CGSize sizeThatFits(CGSize size) const override;

    static constexpr CGFloat kMediumSide = 20;
    static constexpr CGFloat kLargeSide = 37;

private:
    CGFloat side() const;

    UIActivityIndicatorViewStyle _style = UIActivityIndicatorViewStyleMedium;
    Ref<UIColor> _color;
    bool _animating = false;
    bool _hidesWhenStopped = true;
};
