#include "TraitNames.h"

#include <array>

namespace {

constexpr std::array<const char*, kUIContentSizeCategoryCount> kContentSizeNames = {
    "xs", "s", "m", "l", "xl", "xxl", "xxxl", "ax1", "ax2", "ax3", "ax4", "ax5"};

} // namespace

std::optional<UIUserInterfaceStyle> TraitNames::appearanceNamed(const std::string& name) {
    if (name == "light") {
        return UIUserInterfaceStyleLight;
    }
    if (name == "dark") {
        return UIUserInterfaceStyleDark;
    }
    return std::nullopt;
}

std::string TraitNames::appearanceName(UIUserInterfaceStyle style) {
    return style == UIUserInterfaceStyleDark ? "dark" : "light";
}

std::string TraitNames::appearanceNames() {
    return "light, dark";
}

std::optional<UIContentSizeCategory> TraitNames::contentSizeNamed(const std::string& name) {
    for (size_t i = 0; i < kContentSizeNames.size(); ++i) {
        if (name == kContentSizeNames[i]) {
            return static_cast<UIContentSizeCategory>(i);
        }
    }
    return std::nullopt;
}

std::string TraitNames::contentSizeName(UIContentSizeCategory category) {
    const auto index = static_cast<size_t>(category);
    return index < kContentSizeNames.size() ? kContentSizeNames[index] : "l";
}

std::string TraitNames::contentSizeNames() {
    std::string text;
    for (const char* name : kContentSizeNames) {
        text += (text.empty() ? "" : ", ") + std::string(name);
    }
    return text;
}
