#include "KLColorPickerCell.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <Foundation/NSBundle.h>
#include <Foundation/NSScanner.h>
#include <Foundation/NSString.h>
#include <Preferences/PSListController.h>
#include <QuartzCore/CAShapeLayer.h>
#include <UIKit/UIBezierPath.h>

extern "C" __attribute__((
    visibility("default"))) constinit const objc_class OBJC_CLASS_$_KLColorPickerCell{
    "KLColorPickerCell", &OBJC_CLASS_$_PSTableCell,
    PSTableCellClassMethods<KLColorPickerCell>::classMethods,
    PSTableCellClassMethods<KLColorPickerCell>::instanceMethods};

namespace {

constexpr CGFloat kSwatchSize = 29;
constexpr CGFloat kSwatchRadius = 14.5;
constexpr double kTransitionDuration = 0.3;

// Every "#" dropped, then upper-cased: the form strings are read and shown in.
std::string normalise(const std::optional<std::string>& hex) {
    return NSString::uppercaseString(
        NSString::stringByReplacingOccurrencesOfString(hex.value_or(""), "#", ""));
}

// A double to a signed 32-bit integer, truncating toward zero. Out-of-range
// values saturate and NaN gives 0, as the device's conversion does.
int32_t truncateToInt32(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
        return std::numeric_limits<int32_t>::max();
    }
    if (value <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(value);
}

uint32_t scanHex(const std::string& text) {
    uint32_t value = 0;
    NSScanner::scannerWithString(text)->scanHexInt(&value);
    return value;
}

} // namespace

int32_t KLColorPickerCell::rowHeight() const {
    // The title and the hex text take two lines; at the larger text sizes
    // they outgrow 45 points and the row grows with them, as Settings' own
    // rows do, rather than spill over its neighbours.
    const CGFloat lines =
        textLabel()->font()->lineHeight() + detailTextLabel()->font()->lineHeight();
    return lines > kRowHeight
               ? static_cast<int32_t>(std::ceil(lines + 2 * UITableViewCell::kSubtitlePadding))
               : kRowHeight;
}

Ref<KLColorPickerCell>
KLColorPickerCell::initWithStyle(UITableViewCellStyle,
                                 const std::optional<std::string>& reuseIdentifier,
                                 const Ref<PSSpecifier>& specifier) {
    if (!PSTableCell::initWithStyle(UITableViewCellStyleSubtitle, reuseIdentifier, specifier)) {
        return nullptr;
    }
    auto property = [&](const char* key) {
        return specifier ? specifier->propertyForKey(key) : Value();
    };
    if (specifier) {
        specifier->setProperty(Value::numberWithInt(rowHeight()), "height");
    }
    _fallbackHex = property("fallbackHex").optionalString();
    _supportsAlpha = !property("supportsAlpha").isNil();

    Ref<PSListController> target = specifier ? specifier->target() : nullptr;
    Ref<NSBundle> bundle = target ? target->bundle() : nullptr;
    std::optional<std::string> label = property("label").optionalString();
    std::optional<std::string> table = property("localizationTable").optionalString();

    _colorPicker = alloc<UIColorPickerViewController>()->init();
    _colorPicker->setDelegate(self<KLColorPickerCell>());
    _colorPicker->setSupportsAlpha(_supportsAlpha);
    _colorPicker->setTitle(
        bundle ? std::optional<std::string>(bundle->localizedStringForKey(label, label, table))
               : std::nullopt);

    _indicatorView = alloc<UIView>()->initWithFrame(CGRectMake(0, 0, kSwatchSize, kSwatchSize));
    _indicatorView->setClipsToBounds(true);
    _indicatorView->layer()->setBorderColor(UIColor::opaqueSeparatorColor()->CGColor());
    _indicatorView->layer()->setBorderWidth(3.0);
    _indicatorView->layer()->setCornerRadius(kSwatchRadius);
    setAccessoryView(_indicatorView);

    _indicatorShape = CAShapeLayer::layer();
    _indicatorShape->setPath(UIBezierPath::bezierPathWithRoundedRect(
                                 CGRectMake(0, 0, kSwatchSize, kSwatchSize), kSwatchRadius)
                                 ->CGPath());
    _indicatorView->layer()->addSublayer(_indicatorShape);

    // A stored value that is not text counts as nothing stored.
    Value stored = specifier ? specifier->performGetter() : Value();
    std::optional<std::string> colorString =
        stored.isString() ? stored.optionalString() : _fallbackHex;

    _currentColor = colorFromHex(colorString, _supportsAlpha);
    _indicatorShape->setFillColor(_currentColor->CGColor());
    detailTextLabel()->setText(legibleStringFromHex(colorString));
    return self<KLColorPickerCell>();
}

void KLColorPickerCell::setSelected(bool selected, bool animated) {
    if (selected) {
        // The row never takes the selected look: only the picker comes up.
        presentColorPicker();
        return;
    }
    PSTableCell::setSelected(false, animated);
}

void KLColorPickerCell::presentColorPicker() {
    _colorPicker->setSelectedColor(_currentColor);
    if (Ref<UIViewController> presenter = _viewControllerForAncestor()) {
        presenter->presentViewController(_colorPicker, true, nullptr);
    }
}

void KLColorPickerCell::colorPickerViewControllerDidSelectColor(
    const Ref<UIColorPickerViewController>& viewController) {
    if (!viewController) {
        return;
    }
    _currentColor = viewController->selectedColor();
    const std::string colorString = hexFromColor(_currentColor, _supportsAlpha);
    if (Ref<PSSpecifier> row = specifier()) {
        row->performSetterWithValue(colorString);
    }

    Weak<KLColorPickerCell> weakSelf = self<KLColorPickerCell>();
    UIView::transitionWithView(
        _indicatorView, kTransitionDuration, 0,
        [weakSelf] {
            if (Ref<KLColorPickerCell> cell = weakSelf.lock()) {
                cell->_indicatorShape->setFillColor(cell->_currentColor->CGColor());
            }
        },
        nullptr);
    Ref<UILabel> detail = detailTextLabel();
    UIView::transitionWithView(
        detail, kTransitionDuration, UIViewAnimationOptionTransitionCrossDissolve,
        [detail, colorString] { detail->setText(legibleStringFromHex(colorString)); }, nullptr);
}

void KLColorPickerCell::tintColorDidChange() {
    PSTableCell::tintColorDidChange();
    applyTintToTitle();
}

void KLColorPickerCell::traitCollectionDidChange(const Ref<UITraitCollection>& previous) {
    PSTableCell::traitCollectionDidChange(previous);
    if (traitCollection()->hasDifferentColorAppearanceComparedToTraitCollection(previous)) {
        _indicatorView->layer()->setBorderColor(UIColor::opaqueSeparatorColor()->CGColor());
    }
}

void KLColorPickerCell::refreshCellContentsWithSpecifier(const Ref<PSSpecifier>& specifier) {
    PSTableCell::refreshCellContentsWithSpecifier(specifier);
    applyTintToTitle();
}

void KLColorPickerCell::applyTintToTitle() {
    if (Ref<UILabel> title = textLabel()) {
        title->setTextColor(tintColor());
        title->setHighlightedTextColor(tintColor());
    }
}

Ref<UIColor> KLColorPickerCell::colorFromHex(const std::optional<std::string>& hex, bool useAlpha) {
    std::string text = normalise(hex);
    if (NSString::containsString(text, ":") || NSString::length(text) == 6) {
        const std::vector<std::string> pieces = NSString::componentsSeparatedByString(text, ":");
        double opacity = 1.0;
        if (pieces.size() == 2) {
            // The percentage is divided in single precision, then widened.
            opacity = static_cast<double>(NSString::floatValue(pieces[1]) / 100.0f);
        }
        text = NSString::stringWithFormat("%@%02X", pieces[0], truncateToInt32(opacity * 255.0));
    }
    const uint32_t v = scanHex(text);
    const double red = (v >> 24) / 255.0;
    const double green = ((v >> 16) & 0xFF) / 255.0;
    const double blue = ((v >> 8) & 0xFF) / 255.0;
    const double alpha = useAlpha ? (v & 0xFF) / 255.0 : 1.0;
    return UIColor::colorWithRed(red, green, blue, alpha);
}

std::string KLColorPickerCell::hexFromColor(const Ref<UIColor>& color, bool useAlpha) {
    CGFloat components[4] = {0, 0, 0, 0};
    if (color) {
        color->getRed(&components[0], &components[1], &components[2], &components[3]);
    }
    // Extended-range components are clamped to one byte each.
    int32_t bytes[4];
    for (int i = 0; i < 4; ++i) {
        bytes[i] = std::clamp(truncateToInt32(components[i] * 255.0), 0, 255);
    }
    std::string hex =
        NSString::stringWithFormat("#%02X%02X%02X%02X", bytes[0], bytes[1], bytes[2], bytes[3]);
    if (!useAlpha) {
        hex.resize(hex.size() - 2);
    }
    return hex;
}

std::string KLColorPickerCell::legibleStringFromHex(const std::optional<std::string>& hex) {
    if (!hex) {
        // Neither a stored value nor a fallback: there is no colour text to show.
        return "";
    }
    const std::string text = normalise(hex);
    if (NSString::containsString(text, ":")) {
        const std::vector<std::string> pieces = NSString::componentsSeparatedByString(text, ":");
        return NSString::stringWithFormat("#%@:%@", pieces[0], pieces[1]);
    }
    const size_t length = NSString::length(text);
    if (length == 6) {
        return NSString::stringWithFormat("#%@", text);
    }
    if (length < 2) {
        // Too short to hold an alpha byte: show the text as it stands.
        return NSString::stringWithFormat("#%@", text);
    }
    const uint32_t v = scanHex(text);
    return NSString::stringWithFormat("#%@:%.2f", NSString::substringToIndex(text, length - 2),
                                      (v & 0xFF) / 255.0);
}
