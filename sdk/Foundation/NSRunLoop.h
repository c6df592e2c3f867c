#pragma once

#include <vector>

#include <Foundation/Forward.h>
#include <objc/NSObject.h>

// The main thread's run loop, as far as timers go. Its clock is the host's:
// time passes only when the host lets it, firing the timers that come due in
// order, so that a finger held on a control for a while does the same thing
// on every run.
class NSRunLoop : public NSObject {
public:
    static Ref<NSRunLoop> mainRunLoop();

    // Seconds on the run loop's clock since it started.
    double currentTime() const { return _now; }
    void addTimer(const Ref<NSTimer>& timer);

    // Moves the clock on to the earliest valid timer's fire date and fires
    // it; answers NO, changing nothing, when no timer is waiting.
    bool fireNextTimer();
    // Moves the clock on by `seconds`, firing every timer that comes due on
    // the way, in order.
    void runForTimeInterval(double seconds);

private:
    // The valid timer due first, or nil.
    Ref<NSTimer> nextTimer();
    void fire(const Ref<NSTimer>& timer);

    double _now = 0;
    std::vector<Ref<NSTimer>> _timers;
};
