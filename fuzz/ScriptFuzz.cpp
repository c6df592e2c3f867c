// klprefs' script reader: whatever the text, it gives steps on lines that
// exist, in order, or refuses the script with the line at fault. Quoted in a
// message, the text is valid UTF-8 without control characters, and short.
#include <algorithm>
#include <cstdint>
#include <string>

#include <Foundation/Unicode.h>

#include "FuzzCheck.h"
#include "HostError.h"
#include "Script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    try {
        size_t previous = 0;
        for (const ScriptStep& step : Script::parse(text)) {
            KL_FUZZ_CHECK(step.line > previous && step.line <= lines);
            previous = step.line;
        }
    } catch (const HostError& error) {
        KL_FUZZ_CHECK(error.line() && *error.line() >= 1 && *error.line() <= lines);
    }
    const std::string shown = HostError::quoted(text);
    KL_FUZZ_CHECK(Unicode::isValidUTF8(shown));
    KL_FUZZ_CHECK(std::none_of(shown.begin(), shown.end(),
                               [](char c) { return static_cast<unsigned char>(c) < 0x20; }));
    KL_FUZZ_CHECK(shown.size() <= 4 * HostError::kQuotedLength + 64);
    return 0;
}
