#include "DevicePreset.h"

const std::vector<DevicePreset>& DevicePreset::all() {
    static const std::vector<DevicePreset> presets = {
        {"iphone-se", {375, 667}, 2, 20, 20, 0, UIUserInterfaceIdiomPhone},
        {"iphone-15", {393, 852}, 3, 54, 59, 34, UIUserInterfaceIdiomPhone},
        {"iphone-15-pro-max", {430, 932}, 3, 54, 59, 34, UIUserInterfaceIdiomPhone},
        {"ipad-10", {820, 1180}, 2, 24, 24, 20, UIUserInterfaceIdiomPad},
        {"ipad-pro-12.9", {1024, 1366}, 2, 24, 24, 20, UIUserInterfaceIdiomPad},
    };
    return presets;
}

std::optional<DevicePreset> DevicePreset::named(const std::string& name) {
    for (const DevicePreset& preset : all()) {
        if (preset.name == name) {
            return preset;
        }
    }
    return std::nullopt;
}

std::string DevicePreset::names() {
    std::string text;
    for (const DevicePreset& preset : all()) {
        text += (text.empty() ? "" : ", ") + preset.name;
    }
    return text;
}

CGSize DevicePreset::screenSize(bool landscape) const {
    return landscape ? CGSizeMake(portrait.height, portrait.width) : portrait;
}

UIUserInterfaceSizeClass DevicePreset::horizontalSizeClass(bool landscape) const {
    // Phones at least 414 points wide show the regular width in landscape.
    const bool regular = idiom == UIUserInterfaceIdiomPad || (landscape && portrait.width >= 414);
    return regular ? UIUserInterfaceSizeClassRegular : UIUserInterfaceSizeClassCompact;
}

UIEdgeInsets DevicePreset::safeAreaInsets(bool landscape) const {
    if (landscape && idiom == UIUserInterfaceIdiomPhone) {
        // A phone with a home indicator keeps clear of it and of the housing.
        return safeBottom > 0 ? UIEdgeInsetsMake(0, safeTop, 21, safeTop) : UIEdgeInsets{};
    }
    return UIEdgeInsetsMake(safeTop, 0, safeBottom, 0);
}

CGFloat DevicePreset::statusBarHeight(bool landscape) const {
    return landscape && idiom == UIUserInterfaceIdiomPhone ? 0 : statusBar;
}

UIUserInterfaceSizeClass DevicePreset::verticalSizeClass(bool landscape) const {
    return idiom == UIUserInterfaceIdiomPhone && landscape ? UIUserInterfaceSizeClassCompact
                                                           : UIUserInterfaceSizeClassRegular;
}
