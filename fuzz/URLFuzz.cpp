// URL parsing: a string taken as it is stays exactly as written; a string
// with its invalid characters encoded becomes plain ASCII that parses again,
// unchanged, without encoding; and encoding never refuses what is valid.
#include <cstdint>
#include <string>

#include <Foundation/NSURL.h>

#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Ref<NSURL> strict = NSURL::URLWithStringEncodingInvalidCharacters(text, false);
    Ref<NSURL> encoded = NSURL::URLWithStringEncodingInvalidCharacters(text, true);
    if (strict) {
        KL_FUZZ_CHECK(strict->absoluteString() == text);
        KL_FUZZ_CHECK(encoded && encoded->absoluteString() == text);
    }
    if (encoded) {
        const std::string& result = encoded->absoluteString();
        for (char c : result) {
            KL_FUZZ_CHECK(c > ' ' && c < 0x7F);
        }
        Ref<NSURL> again = NSURL::URLWithStringEncodingInvalidCharacters(result, false);
        KL_FUZZ_CHECK(again && again->absoluteString() == result);
        KL_FUZZ_CHECK(again->host() == encoded->host() && again->port() == encoded->port());
    }
    return 0;
}
