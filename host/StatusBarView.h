#pragma once

#include <vector>

#include <UIKit/Forward.h>
#include <UIKit/UIView.h>

#include "DevicePreset.h"

// The status bar over a page on a device's screen, as in the device's own
// screenshots: the time 9:41, full signal, Wi-Fi and a full battery, in the
// label colour of the appearance. On a phone with a sensor housing the time
// sits in the band's left part and the rest in its right; on the iPhone SE
// the signal and Wi-Fi are at the left and the time in the middle; on an
// iPad the time and the date, Tue Jan 9, are at the left. It takes no touches.
class StatusBarView : public UIView {
public:
    Ref<StatusBarView> initWithDevice(const DevicePreset& device, CGFloat width, CGFloat height);

    void layoutSubviews() override;

private:
    DevicePreset _device;
    Ref<UILabel> _time;
    Ref<UILabel> _date;
    std::vector<Ref<UIView>> _signal;
    Ref<UIImageView> _wifi;
    Ref<UIView> _battery;
    Ref<UIView> _charge;
    Ref<UIView> _tip;
};
