// The leading-number readers: whatever the text, a number read ends inside
// it, past where it began, and an integer stays within its bounds.
#include <climits>
#include <cmath>
#include <cstdint>
#include <string_view>

#include <Foundation/NumberReader.h>

#include "FuzzCheck.h"

namespace {

void readAt(std::string_view text, size_t offset) {
    double real = 0;
    if (auto end = NumberReader::readDouble(text, offset, real)) {
        KL_FUZZ_CHECK(*end > offset && *end <= text.size());
        KL_FUZZ_CHECK(!std::isnan(real));
    }
    float single = 0;
    if (auto end = NumberReader::readFloat(text, offset, single)) {
        KL_FUZZ_CHECK(*end > offset && *end <= text.size());
        KL_FUZZ_CHECK(!std::isnan(single));
    }
    for (const auto& [minimum, maximum] :
         {std::pair<long long, long long>{INT_MIN, INT_MAX}, {LLONG_MIN, LLONG_MAX}, {0, 255}}) {
        long long integer = 0;
        if (auto end = NumberReader::readInteger(text, offset, minimum, maximum, integer)) {
            KL_FUZZ_CHECK(*end > offset && *end <= text.size());
            KL_FUZZ_CHECK(integer >= minimum && integer <= maximum);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    readAt(text, 0);
    if (size > 1) {
        readAt(text, data[0] % size);
    }
    return 0;
}
