#pragma once

#include <optional>
#include <string>

#include <UIKit/UITraitCollection.h>

// The short names a host gives the appearance and the text size: "light",
// "dark"; "xs", "s", "m", "l", "xl", "xxl", "xxxl", "ax1" … "ax5" (the
// Display & Text Size slider's steps, then the larger accessibility sizes).
class TraitNames {
public:
    static std::optional<UIUserInterfaceStyle> appearanceNamed(const std::string& name);
    static std::string appearanceName(UIUserInterfaceStyle style);
    static std::string appearanceNames();

    static std::optional<UIContentSizeCategory> contentSizeNamed(const std::string& name);
    static std::string contentSizeName(UIContentSizeCategory category);
    static std::string contentSizeNames();
};
