#include <UIKit/UIColorPickerViewController.h>

#include <algorithm>
#include <cmath>

#include <QuartzCore/CAGradientLayer.h>
#include <QuartzCore/CAShapeLayer.h>
#include <UIKit/SDKColorPickerSurface.h>
#include <UIKit/SDKSystemText.h>
#include <UIKit/UIButton.h>
#include <UIKit/UILayoutContainerView.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UISegmentedControl.h>
#include <UIKit/UISlider.h>

namespace {

constexpr CGFloat kMargin = 16;
constexpr CGFloat kBarHeight = 56;
constexpr CGFloat kCloseDiameter = 30;
constexpr CGFloat kTrackHeight = 36;
constexpr CGFloat kThumbDiameter = 30;
constexpr CGFloat kPercentWidth = 78;
constexpr CGFloat kSwatchSize = 66;
constexpr CGFloat kSliderRowHeight = 66;
constexpr CGFloat kValueWidth = 64;

const char* const kComponents[] = {"Red", "Green", "Blue"};

CGColor fromHSV(double hue, double saturation, double value) {
    const double h = std::fmod(hue, 1.0) * 6;
    const int sector = static_cast<int>(h);
    const double f = h - sector;
    const double p = value * (1 - saturation);
    const double q = value * (1 - saturation * f);
    const double t = value * (1 - saturation * (1 - f));
    switch (sector) {
    case 0:
        return {value, t, p, 1};
    case 1:
        return {q, value, p, 1};
    case 2:
        return {p, value, t, 1};
    case 3:
        return {p, q, value, 1};
    case 4:
        return {t, p, value, 1};
    default:
        return {value, p, q, 1};
    }
}

Ref<UIColor> colorOf(const CGColor& color) {
    return UIColor::colorWithRed(color.red, color.green, color.blue, color.alpha);
}

int byte(CGFloat component) {
    return static_cast<int>(std::lround(std::clamp(component, 0.0, 1.0) * 255));
}

// The colour as the hex field shows it, without its opacity.
std::string hexText(const CGColor& color) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", byte(color.red), byte(color.green),
                  byte(color.blue));
    return text;
}

// The close button's cross, as two stroked lines.
Ref<CAShapeLayer> cross() {
    auto path = std::make_shared<CGPath>();
    const CGFloat c = kCloseDiameter / 2;
    path->moveTo({c - 5, c - 5});
    path->lineTo({c + 5, c + 5});
    path->moveTo({c + 5, c - 5});
    path->lineTo({c - 5, c + 5});
    Ref<CAShapeLayer> layer = CAShapeLayer::layer();
    layer->setPath(path);
    layer->setFillColor(nullptr);
    layer->setStrokeColor(UIColor::secondaryLabelColor()->CGColor());
    layer->setLineWidth(2.2);
    return layer;
}

Ref<UILabel> label(const std::string& text, CGFloat size, bool bold) {
    Ref<UILabel> made = alloc<UILabel>()->init();
    made->setText(text);
    made->setFont(bold ? UIFont::boldSystemFontOfSize(size) : UIFont::systemFontOfSize(size));
    return made;
}

} // namespace

Ref<UIColorPickerViewController> UIColorPickerViewController::init() {
    UIViewController::init();
    setModalPresentationStyle(UIModalPresentationPageSheet);
    return self<UIColorPickerViewController>();
}

CGColor UIColorPickerViewController::gridColor(int column, int row) {
    if (row == 0) {
        const double white = 1.0 - column / static_cast<double>(kGridColumns - 1);
        return {white, white, white, 1};
    }
    const double hue = column / static_cast<double>(kGridColumns);
    const double t = (row - 1) / static_cast<double>(kGridRows - 2);
    // Dark shades first, full colour in the middle, pale tints last.
    const double value = t < 0.45 ? 0.3 + 0.7 * t / 0.45 : 1.0;
    const double saturation = t < 0.45 ? 1.0 : 1.0 - 0.75 * (t - 0.45) / 0.55;
    return fromHSV(hue, saturation, value);
}

CGColor UIColorPickerViewController::spectrumColor(CGFloat across, CGFloat down) {
    // Linear steps between red, yellow, green, cyan, blue, magenta and red
    // are exactly the hues at full saturation and brightness.
    const CGColor hue = fromHSV(std::clamp(across, 0.0, 1.0) * (1 - 1e-9), 1, 1);
    const CGFloat y = std::clamp(down, 0.0, 1.0);
    // White fades out over the top half, black fades in over the bottom half.
    const CGFloat white = y < 0.5 ? 1 - 2 * y : 0;
    const CGFloat black = y > 0.5 ? 2 * y - 1 : 0;
    auto mix = [&](CGFloat component) { return (component * (1 - white) + white) * (1 - black); };
    return {mix(hue.red), mix(hue.green), mix(hue.blue), 1};
}

void UIColorPickerViewController::setSelectedColor(const Ref<UIColor>& color) {
    _selectedColor = color ? color : UIColor::whiteColor();
    showSelectedColor();
}

void UIColorPickerViewController::setSupportsAlpha(bool supports) {
    _supportsAlpha = supports;
    if (isViewLoaded()) {
        view()->setNeedsLayout();
    }
}

void UIColorPickerViewController::loadView() {
    Weak<UIColorPickerViewController> weakSelf = self<UIColorPickerViewController>();
    Ref<UIView> sheet =
        alloc<UILayoutContainerView>()->initWithFrame(UIScreen::mainScreen()->bounds(), [weakSelf] {
            if (Ref<UIColorPickerViewController> picker = weakSelf.lock()) {
                picker->layoutContent();
            }
        });
    sheet->setBackgroundColor(UIColor::systemBackgroundColor());
    setView(sheet);

    _titleLabel = label(title().value_or(""), 17, true);
    _titleLabel->setTextAlignment(NSTextAlignmentCenter);
    sheet->addSubview(_titleLabel);

    _closeButton = UIButton::buttonWithType(UIButtonTypeCustom);
    _closeButton->setBackgroundColor(UIColor::tertiarySystemFillColor());
    _closeButton->layer()->setCornerRadius(kCloseDiameter / 2);
    _closeButton->layer()->addSublayer(cross());
    _closeButton->addTarget(self<UIColorPickerViewController>(),
                            &UIColorPickerViewController::closeTapped, UIControlEventTouchUpInside);
    sheet->addSubview(_closeButton);

    const Ref<UIColorPickerViewController> me = self<UIColorPickerViewController>();
    _ways = alloc<UISegmentedControl>()->initWithItems({SDKSystemText::localized("Grid"),
                                                        SDKSystemText::localized("Spectrum"),
                                                        SDKSystemText::localized("Sliders")});
    _ways->setSelectedSegmentIndex(0);
    _ways->addTarget(me, &UIColorPickerViewController::showChosenWay, UIControlEventValueChanged);
    sheet->addSubview(_ways);

    _grid = alloc<SDKColorPickerSurface>()->init();
    _grid->layer()->setCornerRadius(8);
    _grid->setClipsToBounds(true);
    for (int row = 0; row < kGridRows; ++row) {
        for (int column = 0; column < kGridColumns; ++column) {
            Ref<UIView> cell = alloc<UIView>()->init();
            cell->setBackgroundColor(colorOf(gridColor(column, row)));
            // The grid takes the touch and picks by where it landed.
            cell->setUserInteractionEnabled(false);
            _grid->addSubview(cell);
            _gridCells.push_back(cell);
        }
    }
    _grid->addTarget(me, &UIColorPickerViewController::gridTouched, UIControlEventValueChanged);
    sheet->addSubview(_grid);

    _spectrum = alloc<SDKColorPickerSurface>()->init();
    _spectrum->layer()->setCornerRadius(8);
    _spectrum->setClipsToBounds(true);
    _hues = CAGradientLayer::layer();
    std::vector<CGColorRef> hues;
    for (int sixth = 0; sixth <= 6; ++sixth) {
        const CGColor hue = spectrumColor(sixth / 6.0, 0.5);
        hues.push_back(CGColorCreateSRGB(hue.red, hue.green, hue.blue, 1));
    }
    _hues->setColors(std::move(hues));
    _hues->setStartPoint({0, 0.5});
    _hues->setEndPoint({1, 0.5});
    _shades = CAGradientLayer::layer();
    _shades->setColors({CGColorCreateSRGB(1, 1, 1, 1), CGColorCreateSRGB(1, 1, 1, 0),
                        CGColorCreateSRGB(0, 0, 0, 0), CGColorCreateSRGB(0, 0, 0, 1)});
    _shades->setLocations({0, 0.5, 0.5, 1});
    _spectrum->layer()->addSublayer(_hues);
    _spectrum->layer()->addSublayer(_shades);
    _spectrum->addTarget(me, &UIColorPickerViewController::spectrumTouched,
                         UIControlEventValueChanged);
    sheet->addSubview(_spectrum);

    _sliders = alloc<UIView>()->init();
    for (const char* component : kComponents) {
        Ref<UILabel> caption = label(SDKSystemText::localized(component), 13, false);
        caption->setTextColor(UIColor::secondaryLabelColor());
        Ref<UISlider> slider = alloc<UISlider>()->init();
        slider->setMaximumValue(255);
        slider->addTarget(me, &UIColorPickerViewController::slidersMoved,
                          UIControlEventValueChanged);
        Ref<UILabel> value = label("", 17, false);
        value->setTextAlignment(NSTextAlignmentCenter);
        value->setBackgroundColor(UIColor::tertiarySystemFillColor());
        value->layer()->setCornerRadius(8);
        for (const Ref<UIView>& view :
             {Ref<UIView>(caption), Ref<UIView>(slider), Ref<UIView>(value)}) {
            _sliders->addSubview(view);
        }
        _componentCaptions.push_back(caption);
        _componentSliders.push_back(slider);
        _componentValues.push_back(value);
    }
    _hexCaption = label(SDKSystemText::localized("Hex Color #"), 17, false);
    _hexValue = label("", 17, false);
    _hexValue->setTextAlignment(NSTextAlignmentCenter);
    _hexValue->setBackgroundColor(UIColor::tertiarySystemFillColor());
    _hexValue->layer()->setCornerRadius(8);
    _sliders->addSubview(_hexCaption);
    _sliders->addSubview(_hexValue);
    sheet->addSubview(_sliders);

    _opacityCaption = label("OPACITY", 13, false);
    _opacityCaption->setTextColor(UIColor::secondaryLabelColor());
    _opacityTrack = alloc<SDKColorPickerSurface>()->init();
    _opacityTrack->layer()->setCornerRadius(kTrackHeight / 2);
    _opacityTrack->addTarget(me, &UIColorPickerViewController::opacityTouched,
                             UIControlEventValueChanged);
    _opacityThumb = alloc<UIView>()->init();
    // A finger on the thumb moves it along the track.
    _opacityThumb->setUserInteractionEnabled(false);
    _opacityThumb->setBackgroundColor(UIColor::whiteColor());
    _opacityThumb->layer()->setCornerRadius(kThumbDiameter / 2);
    _opacityThumb->layer()->setBorderWidth(1);
    _opacityThumb->layer()->setBorderColor(UIColor::colorWithWhite(0, 0.15)->CGColor());
    _opacityPercent = label("", 17, false);
    _opacityPercent->setTextAlignment(NSTextAlignmentCenter);
    _opacityPercent->setBackgroundColor(UIColor::tertiarySystemFillColor());
    _opacityPercent->layer()->setCornerRadius(8);
    for (const Ref<UIView>& view : {Ref<UIView>(_opacityCaption), Ref<UIView>(_opacityTrack),
                                    _opacityThumb, Ref<UIView>(_opacityPercent)}) {
        sheet->addSubview(view);
    }

    _separator = alloc<UIView>()->init();
    _separator->setBackgroundColor(UIColor::separatorColor());
    sheet->addSubview(_separator);
    _swatch = alloc<UIView>()->init();
    _swatch->layer()->setCornerRadius(10);
    sheet->addSubview(_swatch);
    showSelectedColor();
    showChosenWay();
}

void UIColorPickerViewController::layoutContent() {
    const CGFloat width = view()->bounds().size.width;
    _titleLabel->setText(title());
    _titleLabel->setFrame(CGRectMake(60, 10, std::max(0.0, width - 120), kBarHeight - 10));
    // Right to left, the close button and the swatch change sides and the
    // segments start at the right.
    const Ref<UIView> sheet = view();
    _closeButton->setFrame(
        sheet->directionalRect(CGRectMake(width - kMargin - kCloseDiameter, 33 - kCloseDiameter / 2,
                                          kCloseDiameter, kCloseDiameter)));
    const CGFloat inner = std::max(0.0, width - 2 * kMargin);
    CGFloat y = kBarHeight + 8;
    _ways->setFrame(CGRectMake(kMargin, y, inner, UISegmentedControl::kHeight));
    y += UISegmentedControl::kHeight + 20;
    // Every way of picking takes the grid's place.
    const CGFloat cell = inner / kGridColumns;
    const CGRect content = CGRectMake(kMargin, y, inner, cell * kGridRows);
    _grid->setFrame(content);
    for (int row = 0; row < kGridRows; ++row) {
        for (int column = 0; column < kGridColumns; ++column) {
            // A hair wider than the cell, so no seams show between squares.
            _gridCells[row * kGridColumns + column]->setFrame(
                CGRectMake(column * cell, row * cell, cell + 0.5, cell + 0.5));
        }
    }
    _spectrum->setFrame(content);
    _hues->setFrame(_spectrum->bounds());
    _shades->setFrame(_spectrum->bounds());
    _sliders->setFrame(content);
    for (size_t i = 0; i < _componentSliders.size(); ++i) {
        const CGFloat top = i * kSliderRowHeight;
        _componentCaptions[i]->setFrame(_sliders->directionalRect(CGRectMake(0, top, inner, 18)));
        const CGRect value = CGRectMake(inner - kValueWidth, top + 24, kValueWidth, kTrackHeight);
        _componentValues[i]->setFrame(_sliders->directionalRect(value));
        _componentSliders[i]->setFrame(_sliders->directionalRect(
            CGRectMake(0, CGRectGetMidY(value) - UISlider::kHeight / 2,
                       std::max(0.0, inner - kValueWidth - 12), UISlider::kHeight)));
    }
    const CGFloat hexTop = _componentSliders.size() * kSliderRowHeight + 8;
    _hexValue->setFrame(_sliders->directionalRect(
        CGRectMake(inner - kValueWidth - 24, hexTop, kValueWidth + 24, kTrackHeight)));
    _hexCaption->setFrame(_sliders->directionalRect(
        CGRectMake(0, hexTop, std::max(0.0, inner - kValueWidth - 36), kTrackHeight)));
    y += cell * kGridRows + 24;
    for (const Ref<UIView>& view : {Ref<UIView>(_opacityCaption), Ref<UIView>(_opacityTrack),
                                    _opacityThumb, Ref<UIView>(_opacityPercent)}) {
        view->setHidden(!_supportsAlpha);
    }
    if (_supportsAlpha) {
        _opacityCaption->setFrame(CGRectMake(kMargin, y, inner, 18));
        const CGRect track =
            CGRectMake(kMargin, y + 24, std::max(0.0, inner - kPercentWidth - 12), kTrackHeight);
        _opacityTrack->setFrame(track);
        const CGFloat alpha = std::clamp(_selectedColor->CGColor()->alpha, 0.0, 1.0);
        const CGFloat x = track.origin.x + kTrackHeight / 2 +
                          alpha * std::max(0.0, track.size.width - kTrackHeight);
        _opacityThumb->setFrame(CGRectMake(x - kThumbDiameter / 2,
                                           CGRectGetMidY(track) - kThumbDiameter / 2,
                                           kThumbDiameter, kThumbDiameter));
        _opacityPercent->setFrame(
            CGRectMake(CGRectGetMaxX(track) + 12, track.origin.y, kPercentWidth, kTrackHeight));
        y = CGRectGetMaxY(track) + 24;
    }
    _separator->setFrame(CGRectMake(kMargin, y, inner, 0.5));
    _swatch->setFrame(
        sheet->directionalRect(CGRectMake(kMargin, y + 16, kSwatchSize, kSwatchSize)));
}

void UIColorPickerViewController::showSelectedColor() {
    if (!isViewLoaded()) {
        return;
    }
    _swatch->setBackgroundColor(_selectedColor);
    const CGColor color = *_selectedColor->CGColor();
    _opacityTrack->setBackgroundColor(UIColor::colorWithRed(color.red, color.green, color.blue, 1));
    _opacityPercent->setText(
        std::to_string(static_cast<int>(std::lround(std::clamp(color.alpha, 0.0, 1.0) * 100))) +
        "%");
    const CGFloat components[] = {color.red, color.green, color.blue};
    for (size_t i = 0; i < _componentSliders.size(); ++i) {
        _componentSliders[i]->setValue(byte(components[i]));
        _componentValues[i]->setText(std::to_string(byte(components[i])));
    }
    _hexValue->setText(hexText(color));
    view()->setNeedsLayout();
}

void UIColorPickerViewController::showChosenWay() {
    const long way = _ways->selectedSegmentIndex();
    _grid->setHidden(way != 0);
    _spectrum->setHidden(way != 1);
    _sliders->setHidden(way != 2);
}

void UIColorPickerViewController::gridTouched() {
    const CGPoint at = _grid->touchedFraction();
    pick(withChosenOpacity(
        gridColor(std::min(kGridColumns - 1, static_cast<int>(at.x * kGridColumns)),
                  std::min(kGridRows - 1, static_cast<int>(at.y * kGridRows)))));
}

void UIColorPickerViewController::spectrumTouched() {
    const CGPoint at = _spectrum->touchedFraction();
    pick(withChosenOpacity(spectrumColor(at.x, at.y)));
}

void UIColorPickerViewController::slidersMoved() {
    auto component = [&](size_t i) { return std::round(_componentSliders[i]->value()) / 255.0; };
    pick(withChosenOpacity({component(0), component(1), component(2), 1}));
}

void UIColorPickerViewController::opacityTouched() {
    // The thumb's centre travels from half a track height in from each end.
    const CGFloat width = _opacityTrack->bounds().size.width;
    const CGFloat travel = std::max(1.0, width - kTrackHeight);
    CGColor color = *_selectedColor->CGColor();
    color.alpha = std::clamp(
        (_opacityTrack->touchedFraction().x * width - kTrackHeight / 2) / travel, 0.0, 1.0);
    pick(color);
}

CGColor UIColorPickerViewController::withChosenOpacity(CGColor color) const {
    // Without opacity on offer, every colour is opaque.
    color.alpha = _supportsAlpha ? _selectedColor->CGColor()->alpha : 1;
    return color;
}

void UIColorPickerViewController::pick(const CGColor& color) {
    // The picker's process hands over whole 8-bit components.
    auto whole = [](CGFloat component) { return byte(component) / 255.0; };
    _selectedColor =
        colorOf({whole(color.red), whole(color.green), whole(color.blue), whole(color.alpha)});
    showSelectedColor();
    if (Ref<UIColorPickerViewControllerDelegate> listener = delegate()) {
        listener->colorPickerViewControllerDidSelectColor(self<UIColorPickerViewController>());
    }
}

void UIColorPickerViewController::closeTapped() {
    Ref<UIColorPickerViewController> me = self<UIColorPickerViewController>();
    dismissViewControllerAnimated(true, nullptr);
    if (Ref<UIColorPickerViewControllerDelegate> listener = delegate()) {
        listener->colorPickerViewControllerDidFinish(me);
    }
}
