#pragma once

#include <UIKit/UIColor.h>
#include <UIKit/UIViewController.h>

class UIColorPickerViewController;

// Hears the colours the user picks.
class UIColorPickerViewControllerDelegate {
public:
    virtual ~UIColorPickerViewControllerDelegate() = default;
    virtual void colorPickerViewControllerDidSelectColor(
        const Ref<UIColorPickerViewController>& viewController) = 0;
    virtual void colorPickerViewControllerDidFinish(const Ref<UIColorPickerViewController>&) {}
};

// The system colour picker. The host (or a test) stands in for the user with
// selectColor and finish; the delegate hears each pick as on the platform.
class UIColorPickerViewController : public UIViewController {
public:
    Ref<UIColorPickerViewController> init() { return self<UIColorPickerViewController>(); }

    Ref<UIColor> selectedColor() const { return _selectedColor; }
    void setSelectedColor(const Ref<UIColor>& color) {
        _selectedColor = color ? color : UIColor::whiteColor();
    }
    bool supportsAlpha() const { return _supportsAlpha; }
    void setSupportsAlpha(bool supports) { _supportsAlpha = supports; }
    Ref<UIColorPickerViewControllerDelegate> delegate() const { return _delegate.lock(); }
    void setDelegate(const Ref<UIColorPickerViewControllerDelegate>& delegate) {
        _delegate = delegate;
    }

    // The user picks a colour. Without the opacity control the pick is opaque.
    void selectColor(const Ref<UIColor>& color);
    // The user closes the picker: it dismisses itself and tells the delegate.
    void finish();

private:
    Ref<UIColor> _selectedColor = UIColor::whiteColor();
    bool _supportsAlpha = true;
    Weak<UIColorPickerViewControllerDelegate> _delegate;
};
