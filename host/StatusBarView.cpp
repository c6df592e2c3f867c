#include "StatusBarView.h"

#include <algorithm>
#include <iterator>

#include <UIKit/UIFont.h>
#include <UIKit/UIImage.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UILabel.h>

namespace {

// The signal's four bars, shortest first, and the battery's outline.
constexpr CGFloat kBarWidth = 3;
constexpr CGFloat kBarGap = 1.5;
constexpr CGFloat kBarHeights[] = {4, 6, 8.5, 11};
constexpr CGSize kBattery{25, 12};
// Between the signal and the battery, where the Wi-Fi symbol sits.
constexpr CGFloat kClusterGap = 24;
constexpr CGFloat kWifiSize = 16;

Ref<UIView> filledView(const Ref<UIColor>& color, CGFloat radius) {
    Ref<UIView> view = alloc<UIView>()->init();
    view->setBackgroundColor(color);
    view->layer()->setCornerRadius(radius);
    return view;
}

} // namespace

Ref<StatusBarView> StatusBarView::initWithDevice(const DevicePreset& device, CGFloat width,
                                                 CGFloat height) {
    UIView::initWithFrame(CGRectMake(0, 0, width, height));
    setUserInteractionEnabled(false);
    _device = device;
    _time = alloc<UILabel>()->init();
    _time->setText(std::string("9:41"));
    // The time is semibold, smaller in the short band of a phone without a housing.
    _time->setFont(
        alloc<UIFont>()->initWithSize(device.statusBar < 24 ? 15 : 17, UIFont::Weight::Semibold));
    _time->setTextAlignment(NSTextAlignmentCenter);
    addSubview(_time);
    if (device.idiom == UIUserInterfaceIdiomPad) {
        _date = alloc<UILabel>()->init();
        _date->setText(std::string("Tue Jan 9"));
        _date->setFont(_time->font());
        addSubview(_date);
    }
    for (size_t i = 0; i < std::size(kBarHeights); ++i) {
        _signal.push_back(filledView(UIColor::labelColor(), 1));
        addSubview(_signal.back());
    }
    _wifi = alloc<UIImageView>()->initWithImage(UIImage::systemImageNamed(std::string("wifi")));
    _wifi->setTintColor(UIColor::labelColor());
    addSubview(_wifi);
    _battery = alloc<UIView>()->init();
    _battery->layer()->setBorderColor(
        UIColor::labelColor()->colorWithAlphaComponent(0.35)->CGColor());
    _battery->layer()->setBorderWidth(1);
    _battery->layer()->setCornerRadius(4);
    addSubview(_battery);
    _charge = filledView(UIColor::labelColor(), 2.5);
    addSubview(_charge);
    _tip = filledView(UIColor::labelColor()->colorWithAlphaComponent(0.4), 0.75);
    addSubview(_tip);
    return self<StatusBarView>();
}

void StatusBarView::layoutSubviews() {
    const CGRect b = bounds();
    // The status bar's own band: the top of the view, as high as the device's bar.
    const CGFloat band = std::min(b.size.height, _device.statusBar);
    const CGFloat middle = _device.safeBottom > 0 && _device.idiom == UIUserInterfaceIdiomPhone
                               ? band / 2 + 3 // below the housing's centre
                               : band / 2;
    const bool housing = _device.idiom == UIUserInterfaceIdiomPhone && _device.safeBottom > 0;
    // Each side of a housing is an ear; the time is centred in the left one.
    const CGFloat ear = (b.size.width - 126) / 2;
    const CGFloat timeWidth = 60;
    CGFloat timeX = _device.idiom == UIUserInterfaceIdiomPad ? 20
                    : housing                                ? (ear - timeWidth) / 2
                                                             : (b.size.width - timeWidth) / 2;
    _time->setFrame(CGRectMake(timeX, middle - 11, timeWidth, 22));
    if (_device.idiom == UIUserInterfaceIdiomPad) {
        _time->setTextAlignment(NSTextAlignmentLeft);
        const CGFloat timeRight = timeX + _time->intrinsicContentSize().width;
        _date->setFrame(
            CGRectMake(timeRight + 8, middle - 11, _date->intrinsicContentSize().width, 22));
    }
    // The battery at the right edge (in the right ear's middle on a housing).
    const CGFloat batteryRight =
        housing ? b.size.width - (ear - kBattery.width - kClusterGap - 17) / 2 : b.size.width - 10;
    const CGRect battery =
        CGRectMake(batteryRight - kBattery.width - 3, middle - kBattery.height / 2, kBattery.width,
                   kBattery.height);
    _battery->setFrame(battery);
    _charge->setFrame(CGRectMake(battery.origin.x + 2, battery.origin.y + 2, battery.size.width - 4,
                                 battery.size.height - 4));
    _tip->setFrame(CGRectMake(CGRectGetMaxX(battery) + 1, middle - 2, 1.5, 4));
    // The signal: left of the battery, or at the left edge on the iPhone SE.
    CGFloat x = housing || _device.idiom == UIUserInterfaceIdiomPad
                    ? battery.origin.x - kClusterGap - 4 * kBarWidth - 3 * kBarGap
                    : 6;
    for (size_t i = 0; i < _signal.size(); ++i) {
        _signal[i]->setFrame(
            CGRectMake(x, middle + 5.5 - kBarHeights[i], kBarWidth, kBarHeights[i]));
        x += kBarWidth + kBarGap;
    }
    // Wi-Fi after the signal: in the gap before the battery, or beside the
    // signal at the left edge.
    const CGFloat wifiX = housing || _device.idiom == UIUserInterfaceIdiomPad
                              ? battery.origin.x - (kClusterGap + kWifiSize) / 2
                              : x + 3;
    _wifi->setFrame(CGRectMake(wifiX, middle - kWifiSize / 2, kWifiSize, kWifiSize));
}
