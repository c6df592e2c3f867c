#pragma once

#include <cstddef>

#include <UIKit/Forward.h>
#include <UIKit/UIWindow.h>

// One finger on the screen. It acts only as a person's finger does: touches
// land at points of the window and go where hit-testing sends them, so a
// step reaches the same code a tap or a drag would. Points are given in the
// coordinates of the view aimed at; every act checks that the finger landed
// on that view (or inside it) and throws a step HostError when something
// else took the touch.
class Finger {
public:
    explicit Finger(Ref<UIWindow> window) : _window(std::move(window)) {}

    // Lands and lifts at the middle of the view's part that shows.
    void tap(const Ref<UIView>& view);
    void tapAt(const Ref<UIView>& view, CGPoint point);
    // Lands and lifts at a point of the window; answers the view the touch
    // went to, nil for none.
    Ref<UIView> tapInWindow(CGPoint point);
    // Taps a table row where nothing in it that takes touches of its own (a
    // control, a view with a gesture) lies: where a person taps to choose it.
    void tapRow(const Ref<UITableViewCell>& cell);
    // Lands at `from`, moves to `to` in `movements` equal steps, and lifts.
    void drag(const Ref<UIView>& view, CGPoint from, CGPoint to, size_t movements = 10);
    // Lands and stays while the main run loop's clock runs on to its next
    // `timerFirings` timers (a held button's repeats), then lifts.
    void pressAndHold(const Ref<UIView>& view, CGPoint point, size_t timerFirings);

private:
    // Lands at the point; fails unless the touch went to the view or inside it.
    void land(const Ref<UIView>& view, CGPoint point);
    CGPoint inWindow(const Ref<UIView>& view, CGPoint point) const;

    Ref<UIWindow> _window;
};
