// The colour row's hex codec: any text decodes to a colour whose encoding
// decodes to itself, and legible text stays UTF-8.
#include <cstdint>
#include <string>

#include <Foundation/Unicode.h>
#include <KLColorPickerCell.h>

#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const bool useAlpha : {false, true}) {
        Ref<UIColor> color = KLColorPickerCell::colorFromHex(text, useAlpha);
        KL_FUZZ_CHECK(color);
        const std::string hex = KLColorPickerCell::hexFromColor(color, useAlpha);
        KL_FUZZ_CHECK(hex.size() == (useAlpha ? 9u : 7u) && hex[0] == '#');
        const std::string again = KLColorPickerCell::hexFromColor(
            KLColorPickerCell::colorFromHex(hex, useAlpha), useAlpha);
        KL_FUZZ_CHECK(again == hex);
    }
    const std::string legible = KLColorPickerCell::legibleStringFromHex(text);
    KL_FUZZ_CHECK(!Unicode::isValidUTF8(text) || Unicode::isValidUTF8(legible));
    return 0;
}
