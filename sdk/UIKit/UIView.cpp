#include <UIKit/UIView.h>

#include <algorithm>
#include <cassert>

#include <Foundation/SDKEventLog.h>
#include <Foundation/dispatch.h>
#include <UIKit/UIGestureRecognizer.h>
#include <UIKit/UIViewController.h>
#include <UIKit/UIWindow.h>

namespace {

// UIKit objects belong to the main thread; debug builds check it.
void checkMainThread() {
    assert(DispatchMainQueue::isMainThread());
}

CGPoint originInWindow(const UIView* view) {
    CGPoint origin{};
    for (const UIView* v = view; v; v = v->superview().get()) {
        origin.x += v->frame().origin.x;
        origin.y += v->frame().origin.y;
    }
    return origin;
}

} // namespace

Ref<UIView> UIView::initWithFrame(const CGRect& frame) {
    checkMainThread();
    setFrame(frame);
    return self<UIView>();
}

void UIView::setFrame(const CGRect& frame) {
    if (frame.size != _frame.size) {
        _needsLayout = true;
    }
    _frame = frame;
    _layer->setFrame(frame);
}

void UIView::addSubview(const Ref<UIView>& view) {
    insertSubviewAtIndex(view, _subviews.size());
}

void UIView::insertSubviewAtIndex(const Ref<UIView>& view, size_t index) {
    checkMainThread();
    if (!view || view.get() == this || isDescendantOfView(view.get())) {
        return;
    }
    Ref<UIColor> tintBefore = view->tintColor();
    Ref<UIView> me = self<UIView>();
    if (view->superview().get() == this) {
        // Moving within the same parent: only the order changes.
        auto found = std::find(_subviews.begin(), _subviews.end(), view);
        _subviews.erase(found);
        _subviews.insert(_subviews.begin() + std::min(index, _subviews.size()), view);
        return;
    }
    view->willMoveToSuperview(me);
    view->removeFromSuperview();
    _subviews.insert(_subviews.begin() + std::min(index, _subviews.size()), view);
    view->_superview = me;
    _layer->addSublayer(view->_layer);
    _needsLayout = true;
    view->didMoveToSuperview();
    if (!UIColorEqual(tintBefore, view->tintColor())) {
        view->propagateTintChange();
    }
}

void UIView::removeFromSuperview() {
    Ref<UIView> parent = _superview.lock();
    if (!parent) {
        return;
    }
    Ref<UIView> me = self<UIView>();
    Ref<UIColor> tintBefore = tintColor();
    willMoveToSuperview(nullptr);
    auto& siblings = parent->_subviews;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), me), siblings.end());
    _layer->removeFromSuperlayer();
    _superview.reset();
    parent->_needsLayout = true;
    didMoveToSuperview();
    if (!UIColorEqual(tintBefore, tintColor())) {
        propagateTintChange();
    }
}

bool UIView::isDescendantOfView(const UIView* view) const {
    for (const UIView* v = this; v; v = v->_superview.lock().get()) {
        if (v == view) {
            return true;
        }
    }
    return false;
}

Ref<UIWindow> UIView::window() const {
    Ref<const UIView> root = self<UIView>();
    while (Ref<UIView> parent = root->superview()) {
        root = parent;
    }
    return std::dynamic_pointer_cast<UIWindow>(std::const_pointer_cast<UIView>(root));
}

void UIView::willMoveToSuperview(const Ref<UIView>&) {}

void UIView::didMoveToSuperview() {}

void UIView::setBackgroundColor(const Ref<UIColor>& color) {
    _backgroundColor = color;
    _layer->setBackgroundColor(color ? color->CGColor() : nullptr);
}

void UIView::setHidden(bool hidden) {
    _hidden = hidden;
    _layer->setHidden(hidden);
}

void UIView::setAlpha(CGFloat alpha) {
    _alpha = std::clamp(alpha, 0.0, 1.0);
    _layer->setOpacity(static_cast<float>(_alpha));
}

Ref<UIView> UIView::viewWithTag(NSInteger tag) {
    if (_tag == tag) {
        return self<UIView>();
    }
    for (const Ref<UIView>& subview : _subviews) {
        if (Ref<UIView> found = subview->viewWithTag(tag)) {
            return found;
        }
    }
    return nullptr;
}

Ref<UIColor> UIView::tintColor() const {
    for (const UIView* v = this; v; v = v->_superview.lock().get()) {
        if (v->_tintColor) {
            return v->_tintColor;
        }
    }
    return UIColor::systemBlueColor();
}

void UIView::setTintColor(const Ref<UIColor>& color) {
    Ref<UIColor> before = tintColor();
    _tintColor = color;
    if (!UIColorEqual(before, tintColor())) {
        propagateTintChange();
    }
}

void UIView::propagateTintChange() {
    tintColorDidChange();
    // Copy: a tint handler may change the tree.
    const std::vector<Ref<UIView>> children = _subviews;
    for (const Ref<UIView>& child : children) {
        if (!child->_tintColor) {
            child->propagateTintChange();
        }
    }
}

bool UIView::pointInside(CGPoint point) const {
    return CGRectContainsPoint(bounds(), point);
}

Ref<UIView> UIView::hitTest(CGPoint point) {
    if (_hidden || !_userInteractionEnabled || _alpha < 0.01 || !pointInside(point)) {
        return nullptr;
    }
    for (auto it = _subviews.rbegin(); it != _subviews.rend(); ++it) {
        const CGPoint local{point.x - (*it)->_frame.origin.x, point.y - (*it)->_frame.origin.y};
        if (Ref<UIView> hit = (*it)->hitTest(local)) {
            return hit;
        }
    }
    return self<UIView>();
}

void UIView::addGestureRecognizer(const Ref<UIGestureRecognizer>& recognizer) {
    if (!recognizer) {
        return;
    }
    if (Ref<UIView> previous = recognizer->view()) {
        previous->removeGestureRecognizer(recognizer);
    }
    _gestureRecognizers.push_back(recognizer);
    recognizer->setView(self<UIView>());
}

void UIView::removeGestureRecognizer(const Ref<UIGestureRecognizer>& recognizer) {
    auto found = std::find(_gestureRecognizers.begin(), _gestureRecognizers.end(), recognizer);
    if (found != _gestureRecognizers.end()) {
        (*found)->setView(nullptr);
        _gestureRecognizers.erase(found);
    }
}

CGPoint UIView::convertPointToView(CGPoint point, const Ref<UIView>& view) const {
    const CGPoint mine = originInWindow(this);
    const CGPoint theirs = view ? originInWindow(view.get()) : CGPoint{};
    return CGPointMake(point.x + mine.x - theirs.x, point.y + mine.y - theirs.y);
}

CGRect UIView::convertRectToView(const CGRect& rect, const Ref<UIView>& view) const {
    return CGRect{convertPointToView(rect.origin, view), rect.size};
}

void UIView::layoutIfNeeded() {
    if (_needsLayout) {
        _needsLayout = false;
        layoutSubviews();
    }
    const std::vector<Ref<UIView>> children = _subviews;
    for (const Ref<UIView>& child : children) {
        child->layoutIfNeeded();
    }
}

CGSize UIView::sizeThatFits(CGSize) const {
    return _frame.size;
}

void UIView::sizeToFit() {
    const CGSize size = sizeThatFits(_frame.size);
    setFrame(CGRect{_frame.origin, size});
}

Ref<UIViewController> UIView::_viewControllerForAncestor() const {
    for (const UIView* v = this; v; v = v->_superview.lock().get()) {
        if (Ref<UIViewController> controller = v->viewDelegate()) {
            return controller;
        }
    }
    return nullptr;
}

void UIView::transitionWithView(const Ref<UIView>& view, double duration,
                                UIViewAnimationOptions options,
                                const std::function<void()>& animations,
                                const std::function<void(bool)>& completion) {
    SDKEventLog::record("transition", {{"view", view ? view->className() : std::string("nil")},
                                       {"duration", duration},
                                       {"options", static_cast<long>(options)}});
    if (animations) {
        animations();
    }
    if (completion) {
        completion(true);
    }
}

void UIView::animateWithDuration(double duration, const std::function<void()>& animations) {
    SDKEventLog::record("animation", {{"duration", duration}});
    if (animations) {
        animations();
    }
}
