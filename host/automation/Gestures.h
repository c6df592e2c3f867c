#pragma once

#include <cstddef>

#include <UIKit/Forward.h>

#include "Finger.h"

// The gestures that work the platform's controls, worked out from where the
// controls draw their parts: a slider's thumb dragged along its track, a
// stepper's minus or plus pressed and held.
class Gestures {
public:
    Gestures() = delete;

    // Lands on the thumb and drags it to where `value` lies on the track.
    static void dragSlider(Finger& finger, const Ref<UISlider>& slider, float value,
                           size_t movements = 10);
    // Presses the stepper's minus (its left half) or plus (its right half)
    // and holds it while the press repeats `repeats` times.
    static void pressStepper(Finger& finger, const Ref<UIStepper>& stepper, bool plus,
                             size_t repeats = 0);
};
