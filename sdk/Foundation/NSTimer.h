#pragma once

#include <functional>

#include <objc/NSObject.h>

// A timer on the main run loop: its block runs once the run loop's clock
// reaches the fire date, and again every interval while it repeats, until it
// is invalidated. The run loop holds it while it is valid.
class NSTimer : public NSObject {
public:
    using Block = std::function<void(const Ref<NSTimer>& timer)>;

    // Schedules a timer `interval` seconds (at least a tenth of a millisecond) from now.
    static Ref<NSTimer> scheduledTimerWithTimeInterval(double interval, bool repeats, Block block);

    double timeInterval() const { return _interval; }
    bool repeats() const { return _repeats; }
    // On the run loop's clock.
    double fireDate() const { return _fireDate; }
    bool isValid() const { return _valid; }
    // Stops the timer for good; the run loop lets go of it.
    void invalidate();

private:
    friend class NSRunLoop;

    double _interval = 0;
    bool _repeats = false;
    double _fireDate = 0;
    bool _valid = true;
    Block _block;
};
