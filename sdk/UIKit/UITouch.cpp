#include <UIKit/UITouch.h>

#include <UIKit/UIWindow.h>

Ref<UITouch> UITouch::initWithWindow(const Ref<UIWindow>& window, const Ref<UIView>& root,
                                     const Ref<UIView>& view, CGPoint point) {
    _window = window;
    _root = root;
    _view = view;
    _location = point;
    _previousLocation = point;
    _phase = UITouchPhaseBegan;
    return self<UITouch>();
}

CGPoint UITouch::locationInView(const Ref<UIView>& view) const {
    return convert(_location, view);
}

CGPoint UITouch::previousLocationInView(const Ref<UIView>& view) const {
    return convert(_previousLocation, view);
}

void UITouch::updateLocation(CGPoint point, UITouchPhase phase) {
    _previousLocation = _location;
    _location = point;
    _phase = phase;
}

CGPoint UITouch::convert(CGPoint point, const Ref<UIView>& view) const {
    Ref<UIView> root = _root.lock();
    if (!view || !root) {
        return point;
    }
    // The view's origin in the root's coordinates.
    const CGPoint origin = view->convertPointToView(CGPoint{}, root);
    return CGPointMake(point.x - origin.x, point.y - origin.y);
}
