#pragma once

#include <vector>

#include <QuartzCore/Forward.h>
#include <UIKit/Forward.h>
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
// "Grid | Spectrum | Sliders" choice with the chosen way of picking below it,
// the opacity track (when it supports alpha) and a swatch of the selected
// colour. Its content answers touches as on a device, where it belongs to
// another process: a finger on the grid picks the square under it, on the
// spectrum the colour under it, on a red, green or blue slider that
// component, on the opacity track the opacity; the other components stay.
// Each pick is reported to the delegate. The close button dismisses the
// picker and tells the delegate.
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
    // The spectrum's colour at a fraction of its width and height: the hues
    // from red back to red across, pale at the top, full in the middle and
    // dark at the bottom.
    static CGColor spectrumColor(CGFloat across, CGFloat down);

private:
    void closeTapped();
    void layoutContent();
    void showSelectedColor();
    void showChosenWay();
    void gridTouched();
    void spectrumTouched();
    void slidersMoved();
    void opacityTouched();
    // The colour with the opacity chosen so far.
    CGColor withChosenOpacity(CGColor color) const;
    // Selects the colour a touch picked and tells the delegate.
    void pick(const CGColor& color);

    Ref<UIColor> _selectedColor = UIColor::whiteColor();
    bool _supportsAlpha = true;
    Weak<UIColorPickerViewControllerDelegate> _delegate;

    Ref<UILabel> _titleLabel;
    Ref<UIButton> _closeButton;
    Ref<UISegmentedControl> _ways;
    Ref<SDKColorPickerSurface> _grid;
    std::vector<Ref<UIView>> _gridCells;
    Ref<SDKColorPickerSurface> _spectrum;
    Ref<CAGradientLayer> _hues;
    Ref<CAGradientLayer> _shades;
    // The sliders' page: a caption, a slider and its value for red, green
    // and blue, then the colour's hex text.
    Ref<UIView> _sliders;
    std::vector<Ref<UILabel>> _componentCaptions;
    std::vector<Ref<UISlider>> _componentSliders;
    std::vector<Ref<UILabel>> _componentValues;
    Ref<UILabel> _hexCaption;
    Ref<UILabel> _hexValue;
    Ref<UILabel> _opacityCaption;
    Ref<SDKColorPickerSurface> _opacityTrack;
    Ref<UIView> _opacityThumb;
    Ref<UILabel> _opacityPercent;
    Ref<UIView> _separator;
    Ref<UIView> _swatch;
};
