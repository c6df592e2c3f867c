#pragma once

#include <algorithm>
#include <vector>

#include <UIKit/UIControl.h>
#include <UIKit/UIGestureRecognizer.h>

// Writes down, in order, every event that a control sends to it and every
// action of a gesture recogniser that targets it.
class ControlRecorder : public NSObject {
public:
    // Registers for each of the events, one registration apiece.
    void listenForTouches(const Ref<UIControl>& control) {
        listen<UIControlEventTouchDown, UIControlEventTouchDragInside,
               UIControlEventTouchDragOutside, UIControlEventTouchDragEnter,
               UIControlEventTouchDragExit, UIControlEventTouchUpInside,
               UIControlEventTouchUpOutside, UIControlEventTouchCancel>(control);
    }
    template <UIControlEvents... Events> void listen(const Ref<UIControl>& control) {
        Ref<ControlRecorder> me = self<ControlRecorder>();
        (control->addTarget(me, &ControlRecorder::heard<Events>, Events), ...);
    }
    template <UIControlEvents Event> void heard(const Ref<UIControl>& sender) {
        events.push_back(Event);
        senders.push_back(sender);
    }
    void gestureRecognized(const Ref<UIGestureRecognizer>& recognizer) {
        recognized.push_back(recognizer);
        locations.push_back(recognizer->locationInView(recognizer->view()));
    }
    size_t count(UIControlEvents event) const {
        return static_cast<size_t>(std::count(events.begin(), events.end(), event));
    }

    std::vector<UIControlEvents> events;
    std::vector<Ref<UIControl>> senders;
    std::vector<Ref<UIGestureRecognizer>> recognized;
    // Where each recognised gesture was, in its recogniser's view.
    std::vector<CGPoint> locations;
};
