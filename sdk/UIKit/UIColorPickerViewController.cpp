#include <UIKit/UIColorPickerViewController.h>

#include <algorithm>
#include <cmath>

#include <QuartzCore/CAShapeLayer.h>
#include <UIKit/SDKSystemText.h>
#include <UIKit/UILayoutContainerView.h>
#include <UIKit/UIScreen.h>

namespace {

constexpr CGFloat kMargin = 16;
constexpr CGFloat kBarHeight = 56;
constexpr CGFloat kCloseDiameter = 30;
constexpr CGFloat kTrackHeight = 36;
constexpr CGFloat kThumbDiameter = 30;
constexpr CGFloat kPercentWidth = 78;
constexpr CGFloat kSwatchSize = 66;

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

    // "Grid | Spectrum | Sliders", with the grid chosen.
    _segments = alloc<UIView>()->init();
    _segments->setBackgroundColor(UIColor::tertiarySystemFillColor());
    _segments->layer()->setCornerRadius(9);
    Ref<UIView> chosen = alloc<UIView>()->init();
    chosen->setBackgroundColor(UIColor::whiteColor());
    chosen->layer()->setCornerRadius(7);
    _segments->addSubview(chosen);
    const char* titles[] = {"Grid", "Spectrum", "Sliders"};
    for (int i = 0; i < 3; ++i) {
        Ref<UILabel> segment = label(SDKSystemText::localized(titles[i]), 13, i == 0);
        segment->setTextAlignment(NSTextAlignmentCenter);
        _segments->addSubview(segment);
    }
    sheet->addSubview(_segments);

    _grid = alloc<UIView>()->init();
    _grid->layer()->setCornerRadius(8);
    _grid->setClipsToBounds(true);
    for (int row = 0; row < kGridRows; ++row) {
        for (int column = 0; column < kGridColumns; ++column) {
            Ref<UIView> cell = alloc<UIView>()->init();
            cell->setBackgroundColor(colorOf(gridColor(column, row)));
            _grid->addSubview(cell);
            _gridCells.push_back(cell);
        }
    }
    sheet->addSubview(_grid);

    _opacityCaption = label("OPACITY", 13, false);
    _opacityCaption->setTextColor(UIColor::secondaryLabelColor());
    _opacityTrack = alloc<UIView>()->init();
    _opacityTrack->layer()->setCornerRadius(kTrackHeight / 2);
    _opacityThumb = alloc<UIView>()->init();
    _opacityThumb->setBackgroundColor(UIColor::whiteColor());
    _opacityThumb->layer()->setCornerRadius(kThumbDiameter / 2);
    _opacityThumb->layer()->setBorderWidth(1);
    _opacityThumb->layer()->setBorderColor(UIColor::colorWithWhite(0, 0.15)->CGColor());
    _opacityPercent = label("", 17, false);
    _opacityPercent->setTextAlignment(NSTextAlignmentCenter);
    _opacityPercent->setBackgroundColor(UIColor::tertiarySystemFillColor());
    _opacityPercent->layer()->setCornerRadius(8);
    for (const Ref<UIView>& view : {Ref<UIView>(_opacityCaption), _opacityTrack, _opacityThumb,
                                    Ref<UIView>(_opacityPercent)}) {
        sheet->addSubview(view);
    }

    _separator = alloc<UIView>()->init();
    _separator->setBackgroundColor(UIColor::separatorColor());
    sheet->addSubview(_separator);
    _swatch = alloc<UIView>()->init();
    _swatch->layer()->setCornerRadius(10);
    sheet->addSubview(_swatch);
    showSelectedColor();
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
    _segments->setFrame(CGRectMake(kMargin, y, inner, 32));
    const CGFloat segment = inner / 3;
    _segments->subviews()[0]->setFrame(
        _segments->directionalRect(CGRectMake(2, 2, segment - 4, 28)));
    for (int i = 0; i < 3; ++i) {
        _segments->subviews()[i + 1]->setFrame(
            _segments->directionalRect(CGRectMake(i * segment, 0, segment, 32)));
    }
    y += 32 + 20;
    const CGFloat cell = inner / kGridColumns;
    _grid->setFrame(CGRectMake(kMargin, y, inner, cell * kGridRows));
    for (int row = 0; row < kGridRows; ++row) {
        for (int column = 0; column < kGridColumns; ++column) {
            // A hair wider than the cell, so no seams show between squares.
            _gridCells[row * kGridColumns + column]->setFrame(
                CGRectMake(column * cell, row * cell, cell + 0.5, cell + 0.5));
        }
    }
    y += cell * kGridRows + 24;
    for (const Ref<UIView>& view : {Ref<UIView>(_opacityCaption), _opacityTrack, _opacityThumb,
                                    Ref<UIView>(_opacityPercent)}) {
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
    view()->setNeedsLayout();
}

void UIColorPickerViewController::closeTapped() {
    Ref<UIColorPickerViewController> me = self<UIColorPickerViewController>();
    dismissViewControllerAnimated(true, nullptr);
    if (Ref<UIColorPickerViewControllerDelegate> listener = delegate()) {
        listener->colorPickerViewControllerDidFinish(me);
    }
}
