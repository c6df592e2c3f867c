#include "VariantMatrix.h"

#include <algorithm>

#include "TraitNames.h"

namespace {

// The values of one option, or the one value "" when it was not given.
std::vector<std::string> orNone(const std::vector<std::string>& values) {
    return values.empty() ? std::vector<std::string>{""} : values;
}

} // namespace

bool VariantMatrix::empty() const {
    return appearances.empty() && devices.empty() && contentSizes.empty() && languages.empty();
}

size_t VariantMatrix::columns() const {
    return std::max<size_t>(1, appearances.size()) * std::max<size_t>(1, languages.size());
}

std::vector<Variant> VariantMatrix::variants(const DeviceLook& base, double scale,
                                             bool scaleGiven) const {
    std::vector<Variant> all;
    for (const std::string& device : orNone(devices)) {
        for (const std::string& size : orNone(contentSizes)) {
            for (const std::string& appearance : orNone(appearances)) {
                for (const std::string& language : orNone(languages)) {
                    Variant variant{"", base, scale};
                    std::vector<std::string> parts;
                    if (!appearance.empty()) {
                        variant.look.appearance = *TraitNames::appearanceNamed(appearance);
                        parts.push_back(appearance);
                    }
                    if (!device.empty()) {
                        variant.look.device = DevicePreset::named(device);
                        if (!scaleGiven) {
                            variant.scale = variant.look.device->scale;
                        }
                        parts.push_back(device);
                    }
                    if (!size.empty()) {
                        variant.look.contentSize = *TraitNames::contentSizeNamed(size);
                        parts.push_back(size);
                    }
                    if (!language.empty()) {
                        variant.look.languages = {language};
                        parts.push_back(language);
                    }
                    for (const std::string& part : parts) {
                        variant.name += (variant.name.empty() ? "" : "-") + part;
                    }
                    all.push_back(std::move(variant));
                }
            }
        }
    }
    return all;
}
