#pragma once

#include <optional>
#include <string>
#include <vector>

#include <UIKit/UITraitCollection.h>

#include "DevicePreset.h"

// How the device shows a page: the appearance, text size and languages set
// in Settings, the model (nil: the standard phone screen), its orientation
// and whether its status bar is drawn over the page.
struct DeviceLook {
    UIUserInterfaceStyle appearance = UIUserInterfaceStyleLight;
    UIContentSizeCategory contentSize = UIContentSizeCategory::Large;
    std::optional<DevicePreset> device;
    bool landscape = false;
    bool statusBar = true;
    // Best first, as Settings → General → Language & Region orders them; the
    // first one sets the direction of the user interface.
    std::vector<std::string> languages{"en"};
};
