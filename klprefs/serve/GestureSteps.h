#pragma once

#include <optional>
#include <string>

#include <UIKit/Forward.h>

#include "PageHost.h"

// What a person's click or drag on the page's picture does, as the script
// step that does the same: a click on a switch is "toggle ROW", on a row
// "tap ROW", on an alert's button "button OK", on one of the colour
// picker's ways of picking "button Spectrum"; a drag of a slider's thumb is
// "drag ROW to VALUE". A click on a text field gives it the caret instead,
// and what is typed next goes to it. A click or drag on the colour picker's
// grid, spectrum, sliders or opacity track is a touch the picker follows
// itself; the step that repeats it is the colour it picked. Points are in
// window coordinates.
class GestureSteps {
public:
    struct Action {
        // The step that repeats the gesture; nil when it does nothing.
        std::optional<std::string> step;
        // A text field the click gave the caret, and how a step names its
        // row (nil for an alert's field).
        Ref<UITextField> focus;
        std::optional<std::string> focusRow;
        // The gesture is a touch on the colour picker's content, to deliver
        // as it is and to record as "pick" of the colour it picked.
        bool pickerTouch = false;
    };

    static Action click(const PageHost& host, CGPoint point);
    static Action drag(const PageHost& host, CGPoint from, CGPoint to);

    // A drag shorter than this, in points, is a click where it began.
    static constexpr CGFloat kClickDistance = 4;

private:
    static Action onPresentedScreen(const PageHost& host, const Ref<UIViewController>& screen,
                                    const Ref<UIView>& hit, CGPoint point);
    static Action onPage(const PageHost& host, const Ref<UIView>& hit, CGPoint point);
    static Action onRow(const PageHost& host, const PageHost::Row& row, const Ref<UIView>& hit,
                        CGPoint point);
};
