#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QuartzCore/CGGeometry.h>
#include <QuartzCore/Forward.h>
#include <UIKit/Forward.h>
#include <UIKit/UITraitCollection.h>

// A device a page may be shown on: its screen in portrait (points), pixels
// per point, the status bar's height and the safe area's top and bottom in
// portrait, and whether it is a phone or an iPad. Each is Apple's figure for
// the device (Apple's device screen sizes and Human Interface Guidelines,
// Layout); the status bar is the one of the device's own screenshots.
struct DevicePreset {
    std::string name;
    CGSize portrait;
    CGFloat scale = 3;
    CGFloat statusBar = 0;
    CGFloat safeTop = 0;
    CGFloat safeBottom = 0;
    UIUserInterfaceIdiom idiom = UIUserInterfaceIdiomPhone;

    static const std::vector<DevicePreset>& all();
    // nil for a name that is none of them.
    static std::optional<DevicePreset> named(const std::string& name);
    // "iphone-se, iphone-15, …" for messages and help.
    static std::string names();

    // The screen's size, turned on its side in landscape.
    CGSize screenSize(bool landscape) const;
    // The size classes the device has in an orientation: an iPad is regular
    // both ways; a phone is compact in width (regular on the widest phones in
    // landscape) and compact in height in landscape.
    UIUserInterfaceSizeClass horizontalSizeClass(bool landscape) const;
    UIUserInterfaceSizeClass verticalSizeClass(bool landscape) const;
    // The safe area in an orientation: a phone on its side shows no status
    // bar, and its sensor housing and home indicator take the long edges.
    UIEdgeInsets safeAreaInsets(bool landscape) const;
    // The status bar's height in an orientation; 0 where none shows.
    CGFloat statusBarHeight(bool landscape) const;
};
