#pragma once

#include <vector>

#include <UIKit/Forward.h>
#include <UIKit/UIView.h>

#include "DevicePreset.h"

// The status bar over a page on a device's screen, as in the device's own
// screenshots: the time 9:41, full signal and a full battery, in the label
// colour of the appearance. On a phone with a sensor housing the time sits
// in the band's left part and the signal and battery in its right; on the
// iPhone SE the time is in the middle; on an iPad the time is at the left.
// It takes no touches.
class StatusBarView : public UIView {
public:
    Ref<StatusBarView> initWithDevice(const DevicePreset& device, CGFloat width, CGFloat height);

    void layoutSubviews() override;

private:
    DevicePreset _device;
    Ref<UILabel> _time;
    std::vector<Ref<UIView>> _signal;
    Ref<UIView> _battery;
    Ref<UIView> _charge;
    Ref<UIView> _tip;
};
