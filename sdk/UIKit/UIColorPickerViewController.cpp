#include <UIKit/UIColorPickerViewController.h>

void UIColorPickerViewController::selectColor(const Ref<UIColor>& color) {
    if (!color) {
        return;
    }
    _selectedColor = _supportsAlpha ? color : color->colorWithAlphaComponent(1.0);
    if (Ref<UIColorPickerViewControllerDelegate> listener = delegate()) {
        listener->colorPickerViewControllerDidSelectColor(self<UIColorPickerViewController>());
    }
}

void UIColorPickerViewController::finish() {
    Ref<UIColorPickerViewController> me = self<UIColorPickerViewController>();
    dismissViewControllerAnimated(true, nullptr);
    if (Ref<UIColorPickerViewControllerDelegate> listener = delegate()) {
        listener->colorPickerViewControllerDidFinish(me);
    }
}
