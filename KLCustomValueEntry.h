#pragma once

#include <functional>

#include <Preferences/Forward.h>
#include <UIKit/Forward.h>

// The "Custom value" alert of the numeric rows (KLSliderCell, KLStepperCell):
// one text field prefilled with the stored value, Cancel, and OK, which reads
// the text's leading number, clamps it to the control's bounds (the lower one
// first), sets it and fires the control's value-changed event, so that the
// row shows and stores it as it does a drag or a step. The rows differ only
// in their control, given as the template argument: a slider's bounds and
// value are single precision, so the typed value is narrowed before it is
// set; a stepper keeps the double. Built anew on every tap; nothing is kept.
class KLCustomValueEntry {
public:
    KLCustomValueEntry() = delete;

    // Presents the alert from the cell's view controller; nothing when it has
    // none. `control` answers the row's control when OK is pressed (nil once
    // the row is gone). Defined for UISlider and UIStepper.
    template <class Control>
    static void present(const Ref<PSTableCell>& cell, std::function<Ref<Control>()> control);

    // A double narrowed to single precision as the hardware rounds it: to the
    // nearest float, and past the largest float's rounding edge to an
    // infinity of its sign.
    static float narrowToFloat(double value);
};

extern template void KLCustomValueEntry::present<UISlider>(const Ref<PSTableCell>&,
                                                           std::function<Ref<UISlider>()>);
extern template void KLCustomValueEntry::present<UIStepper>(const Ref<PSTableCell>&,
                                                            std::function<Ref<UIStepper>()>);
