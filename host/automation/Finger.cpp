#include "Finger.h"

#include <algorithm>

#include <Foundation/NSRunLoop.h>
#include <UIKit/UIControl.h>
#include <UIKit/UIGestureRecognizer.h>
#include <UIKit/UITableViewCell.h>

#include "HostError.h"

namespace {

bool isShown(const Ref<UIView>& view) {
    for (Ref<UIView> v = view; v; v = v->superview()) {
        if (v->isHidden() || v->alpha() < 0.01) {
            return false;
        }
    }
    return view->bounds().size.width > 0 && view->bounds().size.height > 0;
}

// Whether a view between the hit view and the row takes touches itself.
bool takesTouchesBefore(const Ref<UIView>& hit, const UIView* row) {
    for (Ref<UIView> v = hit; v && v.get() != row; v = v->superview()) {
        if (objc_cast<UIControl>(v) || !v->gestureRecognizers().empty()) {
            return true;
        }
    }
    return false;
}

} // namespace

CGPoint Finger::inWindow(const Ref<UIView>& view, CGPoint point) const {
    return view->convertPointToView(point, nullptr);
}

void Finger::land(const Ref<UIView>& view, CGPoint point) {
    if (!view->window() || view->window() != _window) {
        HostError::throwStep("the " + view->className() + " is not on screen");
    }
    if (!isShown(view)) {
        HostError::throwStep("the " + view->className() + " is hidden or has no size");
    }
    Ref<UITouch> touch = _window->sendTouchBegan(inWindow(view, point));
    Ref<UIView> landed = touch ? touch->view() : nullptr;
    if (!landed || !(landed == view || landed->isDescendantOfView(view.get()))) {
        _window->sendTouchCancelled();
        HostError::throwStep("the finger aimed at the " + view->className() + " landed on " +
                             (landed ? "a " + landed->className() : std::string("nothing")));
    }
}

Ref<UIView> Finger::tapInWindow(CGPoint point) {
    Ref<UITouch> touch = _window->sendTouchBegan(point);
    if (!touch) {
        return nullptr;
    }
    _window->sendTouchEnded(point);
    return touch->view();
}

void Finger::tapAt(const Ref<UIView>& view, CGPoint point) {
    _window->layoutIfNeeded();
    land(view, point);
    _window->sendTouchEnded(inWindow(view, point));
}

void Finger::tap(const Ref<UIView>& view) {
    _window->layoutIfNeeded();
    const CGRect b = view->bounds();
    tapAt(view, CGPointMake(CGRectGetMidX(b), CGRectGetMidY(b)));
}

void Finger::tapRow(const Ref<UITableViewCell>& cell) {
    _window->layoutIfNeeded();
    if (!cell->window()) {
        HostError::throwStep("the row is not on screen");
    }
    const CGRect b = cell->bounds();
    // Across the row's middle from its leading edge, where its title usually is.
    for (CGFloat x = std::min(24.0, b.size.width / 2); x < b.size.width; x += 12) {
        const CGPoint point = CGPointMake(x, CGRectGetMidY(b));
        Ref<UIView> hit = _window->hitTest(inWindow(cell, point));
        if (hit && (hit == cell || hit->isDescendantOfView(cell.get())) &&
            !takesTouchesBefore(hit, cell.get())) {
            tapAt(cell, point);
            return;
        }
    }
    HostError::throwStep("every part of the row is taken by a control of its own");
}

void Finger::drag(const Ref<UIView>& view, CGPoint from, CGPoint to, size_t movements) {
    _window->layoutIfNeeded();
    land(view, from);
    const CGPoint start = inWindow(view, from);
    const CGPoint end = inWindow(view, to);
    const size_t steps = std::max<size_t>(movements, 1);
    for (size_t step = 1; step <= steps; ++step) {
        const double t = static_cast<double>(step) / steps;
        _window->sendTouchMoved(
            CGPointMake(start.x + (end.x - start.x) * t, start.y + (end.y - start.y) * t));
    }
    _window->sendTouchEnded(end);
}

void Finger::pressAndHold(const Ref<UIView>& view, CGPoint point, size_t timerFirings) {
    _window->layoutIfNeeded();
    land(view, point);
    for (size_t firing = 0; firing < timerFirings; ++firing) {
        if (!NSRunLoop::mainRunLoop()->fireNextTimer()) {
            break;
        }
    }
    _window->sendTouchEnded(inWindow(view, point));
}
