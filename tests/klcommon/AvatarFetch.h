#pragma once

#include <chrono>
#include <memory>

#include <Foundation/dispatch.h>

// Drains the main queue until the avatar read that `control` started has
// ended: the read's blocks hold the control, so it is done when the test's
// references are the only ones left. Answers NO when that takes too long.
template <class Control>
bool waitForAvatarRead(const Ref<Control>& control, long testReferences = 1,
                       std::chrono::seconds limit = std::chrono::seconds(30)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        DispatchMainQueue::drainWaiting(0.02);
        if (control.use_count() <= testReferences) {
            DispatchMainQueue::drain();
            return true;
        }
    }
    return false;
}
