#pragma once

#include <optional>
#include <string>

#include <Preferences/Forward.h>
#include <Preferences/PSTableCell.h>
#include <QuartzCore/Forward.h>
#include <UIKit/Forward.h>
#include <UIKit/UIColorPickerViewController.h>

// A settings row for one colour: the title in the tint colour, the colour's
// hex text as the subtitle and a circular swatch at the right edge. A tap
// presents the system colour picker; every pick is stored at once as
// #RRGGBBAA (with "supportsAlpha") or #RRGGBB.
class KLColorPickerCell : public PSTableCell, public UIColorPickerViewControllerDelegate {
public:
    Ref<KLColorPickerCell> initWithStyle(UITableViewCellStyle style,
                                         const std::optional<std::string>& reuseIdentifier,
                                         const Ref<PSSpecifier>& specifier);

    void setSelected(bool selected, bool animated) override;
    void presentColorPicker();
    void colorPickerViewControllerDidSelectColor(
        const Ref<UIColorPickerViewController>& viewController) override;
    void tintColorDidChange() override;
    // The swatch's border is a layer colour: it is set again in the new appearance.
    void traitCollectionDidChange(const Ref<UITraitCollection>& previous) override;
    void refreshCellContentsWithSpecifier(const Ref<PSSpecifier>& specifier) override;

    // The colour string codec. A nil string reads and shows as an empty one.
    static Ref<UIColor> colorFromHex(const std::optional<std::string>& hex, bool useAlpha);
    static std::string hexFromColor(const Ref<UIColor>& color, bool useAlpha);
    static std::string legibleStringFromHex(const std::optional<std::string>& hex);

    // The row's height at 100% text size.
    static constexpr int32_t kRowHeight = 45;

private:
    void applyTintToTitle();
    // 45, or what the title and the hex text need when larger text makes them taller.
    int32_t rowHeight() const;

    Ref<UIColorPickerViewController> _colorPicker;
    Ref<UIColor> _currentColor;
    std::optional<std::string> _fallbackHex;
    bool _supportsAlpha = false;
    Ref<UIView> _indicatorView;
    Ref<CAShapeLayer> _indicatorShape;
};

extern "C" __attribute__((visibility("default"))) const objc_class OBJC_CLASS_$_KLColorPickerCell;
