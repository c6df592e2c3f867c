#include <UIKit/UIColor.h>
#include <UIKit/UIColorPickerViewController.h>

#include "ColorPickerProcess.h"

void ColorPickerProcess::reportPick(const Ref<UIColorPickerViewController>& picker,
                                    const Ref<UIColor>& color) {
    if (!picker || !color) {
        return;
    }
    picker->setSelectedColor(picker->supportsAlpha() ? color : color->colorWithAlphaComponent(1.0));
    if (Ref<UIColorPickerViewControllerDelegate> listener = picker->delegate()) {
        listener->colorPickerViewControllerDidSelectColor(picker);
    }
}
