#pragma once

#include <vector>

#include <UIKit/UIButton.h>
#include <UIKit/UIColor.h>
#include <UIKit/UILabel.h>
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

// The system colour picker, shown as a sheet: its title, a close button, the
// "Grid | Spectrum | Sliders" choice, a grid of colours, the opacity track
// (when it supports alpha) and a swatch of the selected colour. On a device
// its content belongs to another process, which reports each pick to the
// delegate; the close button dismisses the picker and tells the delegate.
class UIColorPickerViewController : public UIViewController {
public:
    Ref<UIColorPickerViewController> init();

    Ref<UIColor> selectedColor() const { return _selectedColor; }
    // Shown at once; setting it in code tells the delegate nothing.
    void setSelectedColor(const Ref<UIColor>& color);
    bool supportsAlpha() const { return _supportsAlpha; }
    void setSupportsAlpha(bool supports);
    Ref<UIColorPickerViewControllerDelegate> delegate() const { return _delegate.lock(); }
    void setDelegate(const Ref<UIColorPickerViewControllerDelegate>& delegate) {
        _delegate = delegate;
    }

    // The swatch, made when the picker is first shown.
    Ref<UIView> swatch() const { return _swatch; }

    void loadView() override;

    static constexpr int kGridColumns = 12;
    static constexpr int kGridRows = 10;
    // The grid's colour in a column and row: greys along the top, then each
    // hue from dark shades to pale tints.
    static CGColor gridColor(int column, int row);

private:
    void closeTapped();
    void layoutContent();
    void showSelectedColor();

    Ref<UIColor> _selectedColor = UIColor::whiteColor();
    bool _supportsAlpha = true;
    Weak<UIColorPickerViewControllerDelegate> _delegate;

    Ref<UILabel> _titleLabel;
    Ref<UIButton> _closeButton;
    Ref<UIView> _segments;
    Ref<UIView> _grid;
    std::vector<Ref<UIView>> _gridCells;
    Ref<UILabel> _opacityCaption;
    Ref<UIView> _opacityTrack;
    Ref<UIView> _opacityThumb;
    Ref<UILabel> _opacityPercent;
    Ref<UIView> _separator;
    Ref<UIView> _swatch;
};
