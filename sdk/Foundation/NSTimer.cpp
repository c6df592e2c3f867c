#include <Foundation/NSTimer.h>

#include <algorithm>

#include <Foundation/NSRunLoop.h>

Ref<NSTimer> NSTimer::scheduledTimerWithTimeInterval(double interval, bool repeats, Block block) {
    Ref<NSTimer> timer = alloc<NSTimer>();
    // The platform takes anything shorter (or not a number) as a tenth of a millisecond.
    timer->_interval = interval >= 0.0001 ? interval : 0.0001;
    timer->_repeats = repeats;
    timer->_block = std::move(block);
    Ref<NSRunLoop> loop = NSRunLoop::mainRunLoop();
    timer->_fireDate = loop->currentTime() + timer->_interval;
    loop->addTimer(timer);
    return timer;
}

void NSTimer::invalidate() {
    _valid = false;
    _block = nullptr;
}
