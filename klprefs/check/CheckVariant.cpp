#include "CheckVariant.h"

#include <algorithm>

#include <Foundation/NSLocale.h>

#include "CommandLine.h"
#include "DevicePreset.h"
#include "TraitNames.h"

namespace {

template <typename T> void addOnce(std::vector<T>& values, const T& value) {
    if (std::find(values.begin(), values.end(), value) == values.end()) {
        values.push_back(value);
    }
}

} // namespace

std::string CheckVariant::name() const {
    return TraitNames::appearanceName(appearance) + "/" + TraitNames::contentSizeName(contentSize) +
           "/" + device + "/" + language;
}

DeviceLook CheckVariant::look(const DeviceLook& base) const {
    DeviceLook look = base;
    look.appearance = appearance;
    look.contentSize = contentSize;
    look.device = DevicePreset::named(device);
    look.languages = {language};
    return look;
}

bool CheckVariant::isVariantWord(const std::string& word) {
    return TraitNames::appearanceNamed(word) || TraitNames::contentSizeNamed(word) ||
           DevicePreset::named(word) || NSLocale::canonicalLanguageIdentifierFromString(word);
}

std::optional<std::vector<CheckVariant>>
CheckVariant::fromList(const std::optional<std::string>& list,
                       const std::vector<std::string>& bundleLanguages, std::string* error) {
    std::vector<UIUserInterfaceStyle> appearances;
    std::vector<UIContentSizeCategory> sizes;
    std::vector<std::string> devices;
    std::vector<std::string> languages;
    for (const std::string& word :
         list ? CommandLine::splitList(*list) : std::vector<std::string>()) {
        if (std::optional<UIUserInterfaceStyle> appearance = TraitNames::appearanceNamed(word)) {
            addOnce(appearances, *appearance);
        } else if (std::optional<UIContentSizeCategory> size = TraitNames::contentSizeNamed(word)) {
            addOnce(sizes, *size);
        } else if (DevicePreset::named(word)) {
            addOnce(devices, word);
        } else if (NSLocale::canonicalLanguageIdentifierFromString(word)) {
            addOnce(languages, word);
        } else {
            if (error) {
                *error = "\"" + word + "\" is no appearance (" + TraitNames::appearanceNames() +
                         "), text size (" + TraitNames::contentSizeNames() + "), device (" +
                         DevicePreset::names() + ") or language code";
            }
            return std::nullopt;
        }
    }
    if (appearances.empty()) {
        appearances = {UIUserInterfaceStyleLight, UIUserInterfaceStyleDark};
    }
    if (sizes.empty()) {
        sizes = {*TraitNames::contentSizeNamed("l"), *TraitNames::contentSizeNamed("ax3")};
    }
    if (devices.empty()) {
        devices = {"iphone-15", "ipad-pro-12.9"};
    }
    if (languages.empty()) {
        languages = bundleLanguages.empty() ? std::vector<std::string>{"en"} : bundleLanguages;
    }
    std::vector<CheckVariant> variants;
    for (const std::string& language : languages) {
        for (const std::string& device : devices) {
            for (UIContentSizeCategory size : sizes) {
                for (UIUserInterfaceStyle appearance : appearances) {
                    variants.push_back({appearance, size, device, language});
                }
            }
        }
    }
    return variants;
}
