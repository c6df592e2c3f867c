#include <Foundation/NSRunLoop.h>
#include <Foundation/NSTimer.h>

#include <algorithm>

Ref<NSRunLoop> NSRunLoop::mainRunLoop() {
    static const Ref<NSRunLoop> loop = alloc<NSRunLoop>();
    return loop;
}

void NSRunLoop::addTimer(const Ref<NSTimer>& timer) {
    if (timer && timer->isValid() &&
        std::find(_timers.begin(), _timers.end(), timer) == _timers.end()) {
        _timers.push_back(timer);
    }
}

Ref<NSTimer> NSRunLoop::nextTimer() {
    std::erase_if(_timers, [](const Ref<NSTimer>& timer) { return !timer->isValid(); });
    auto first = std::min_element(
        _timers.begin(), _timers.end(),
        [](const Ref<NSTimer>& a, const Ref<NSTimer>& b) { return a->fireDate() < b->fireDate(); });
    return first == _timers.end() ? nullptr : *first;
}

void NSRunLoop::fire(const Ref<NSTimer>& timer) {
    _now = std::max(_now, timer->fireDate());
    if (timer->repeats()) {
        timer->_fireDate += timer->timeInterval();
    } else {
        std::erase(_timers, timer);
    }
    // Held while its block runs: the block may invalidate it.
    NSTimer::Block block = timer->_block;
    if (!timer->repeats()) {
        timer->invalidate();
    }
    if (block) {
        block(timer);
    }
}

bool NSRunLoop::fireNextTimer() {
    Ref<NSTimer> timer = nextTimer();
    if (!timer) {
        return false;
    }
    fire(timer);
    return true;
}

void NSRunLoop::runForTimeInterval(double seconds) {
    const double end = _now + std::max(0.0, seconds);
    for (Ref<NSTimer> timer = nextTimer(); timer && timer->fireDate() <= end; timer = nextTimer()) {
        fire(timer);
    }
    _now = end;
}
