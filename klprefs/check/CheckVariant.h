#pragma once

#include <optional>
#include <string>
#include <vector>

#include "DeviceLook.h"

// One way a device may show the page: an appearance, a text size, a device
// and a language. Named "dark/ax3/ipad-pro-12.9/de".
struct CheckVariant {
    UIUserInterfaceStyle appearance = UIUserInterfaceStyleLight;
    UIContentSizeCategory contentSize = UIContentSizeCategory::Large;
    std::string device;
    std::string language;

    std::string name() const;
    // The look of the device in this variant, the rest taken from `base`
    // (orientation, status bar).
    DeviceLook look(const DeviceLook& base) const;

    // The variants a list such as "dark,ax3,de" names: each word is an
    // appearance, a text size, a device or a language code; every
    // combination of the words named is checked, and a kind that is not
    // named keeps its defaults (light and dark, l and ax3, iphone-15 and
    // ipad-pro-12.9, every language in `bundleLanguages`). nil, with the
    // reason in `error`, when a word is none of these.
    static std::optional<std::vector<CheckVariant>>
    fromList(const std::optional<std::string>& list,
             const std::vector<std::string>& bundleLanguages, std::string* error = nullptr);
    // Whether a word of such a list is well formed, for the command line.
    static bool isVariantWord(const std::string& word);
};
