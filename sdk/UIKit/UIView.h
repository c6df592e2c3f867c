#pragma once

#include <functional>
#include <vector>

#include <QuartzCore/CALayer.h>
#include <QuartzCore/CGGeometry.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIKitDefines.h>
#include <UIKit/UIResponder.h>

class UIGestureRecognizer;
class UIViewController;
class UIWindow;

// A rectangle on screen with a layer, subviews and a place in the view tree.
// A parent holds its subviews strongly; the link up to the superview is weak.
class UIView : public UIResponder {
public:
    Ref<UIView> initWithFrame(const CGRect& frame);
    Ref<UIView> init() { return initWithFrame(CGRectZero); }

    CGRect frame() const { return _frame; }
    virtual void setFrame(const CGRect& frame);
    CGRect bounds() const { return CGRectMake(0, 0, _frame.size.width, _frame.size.height); }
    CGPoint center() const { return CGPointMake(CGRectGetMidX(_frame), CGRectGetMidY(_frame)); }

    Ref<CALayer> layer() const { return _layer; }

    // The tree.
    Ref<UIView> superview() const { return _superview.lock(); }
    const std::vector<Ref<UIView>>& subviews() const { return _subviews; }
    void addSubview(const Ref<UIView>& view);
    void insertSubviewAtIndex(const Ref<UIView>& view, size_t index);
    void removeFromSuperview();
    bool isDescendantOfView(const UIView* view) const;
    // The window at the root of the tree, or nil when the view is not in one.
    Ref<UIWindow> window() const;
    virtual void willMoveToSuperview(const Ref<UIView>& newSuperview);
    virtual void didMoveToSuperview();

    // Appearance.
    Ref<UIColor> backgroundColor() const { return _backgroundColor; }
    void setBackgroundColor(const Ref<UIColor>& color);
    bool isHidden() const { return _hidden; }
    void setHidden(bool hidden);
    CGFloat alpha() const { return _alpha; }
    void setAlpha(CGFloat alpha);
    bool clipsToBounds() const { return _layer->masksToBounds(); }
    void setClipsToBounds(bool clips) { _layer->setMasksToBounds(clips); }
    UIViewContentMode contentMode() const { return _contentMode; }
    void setContentMode(UIViewContentMode mode) { _contentMode = mode; }
    NSInteger tag() const { return _tag; }
    void setTag(NSInteger tag) { _tag = tag; }
    Ref<UIView> viewWithTag(NSInteger tag);

    // The tint: the view's own, else its superview's, else the system blue.
    Ref<UIColor> tintColor() const;
    void setTintColor(const Ref<UIColor>& color);
    // Sent when the tint this view shows changes.
    virtual void tintColorDidChange() {}

    // Events.
    bool isUserInteractionEnabled() const { return _userInteractionEnabled; }
    void setUserInteractionEnabled(bool enabled) { _userInteractionEnabled = enabled; }
    // The deepest visible, interactive view under a point in this view's coordinates.
    virtual Ref<UIView> hitTest(CGPoint point);
    virtual bool pointInside(CGPoint point) const;
    const std::vector<Ref<UIGestureRecognizer>>& gestureRecognizers() const {
        return _gestureRecognizers;
    }
    void addGestureRecognizer(const Ref<UIGestureRecognizer>& recognizer);
    void removeGestureRecognizer(const Ref<UIGestureRecognizer>& recognizer);

    // Coordinates. A nil view means the window (the root of the tree).
    CGPoint convertPointToView(CGPoint point, const Ref<UIView>& view) const;
    CGRect convertRectToView(const CGRect& rect, const Ref<UIView>& view) const;

    // Layout.
    bool translatesAutoresizingMaskIntoConstraints() const { return _translatesMask; }
    void setTranslatesAutoresizingMaskIntoConstraints(bool translates) {
        _translatesMask = translates;
    }
    void setNeedsLayout() { _needsLayout = true; }
    bool needsLayout() const { return _needsLayout; }
    // Lays out this view's subtree now when anything in it asked for a pass.
    void layoutIfNeeded();
    virtual void layoutSubviews() {}
    virtual CGSize sizeThatFits(CGSize size) const;
    void sizeToFit();

    // The view controller whose view this is, if any.
    Ref<UIViewController> viewDelegate() const { return _viewDelegate.lock(); }
    void setViewDelegate(const Ref<UIViewController>& controller) { _viewDelegate = controller; }
    // The nearest view controller among this view and its ancestors: the
    // controller that presents modal screens for it.
    Ref<UIViewController> _viewControllerForAncestor() const;

    // Animations run at once; the transition is recorded so that hosts can show it.
    static void transitionWithView(const Ref<UIView>& view, double duration,
                                   UIViewAnimationOptions options,
                                   const std::function<void()>& animations,
                                   const std::function<void(bool)>& completion);
    static void animateWithDuration(double duration, const std::function<void()>& animations);

protected:
    // Sends tintColorDidChange to this view and to every descendant that
    // inherits its tint.
    void propagateTintChange();

private:
    CGRect _frame = CGRectZero;
    Ref<CALayer> _layer = CALayer::layer();
    Weak<UIView> _superview;
    std::vector<Ref<UIView>> _subviews;
    Ref<UIColor> _backgroundColor;
    Ref<UIColor> _tintColor;
    bool _hidden = false;
    CGFloat _alpha = 1;
    UIViewContentMode _contentMode = UIViewContentModeScaleToFill;
    NSInteger _tag = 0;
    bool _userInteractionEnabled = true;
    bool _translatesMask = true;
    bool _needsLayout = true;
    std::vector<Ref<UIGestureRecognizer>> _gestureRecognizers;
    Weak<UIViewController> _viewDelegate;
};
