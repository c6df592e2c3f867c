// The string-table reader (the old-style text form of .strings files, in
// UTF-8 or UTF-16): whatever the bytes, a table read holds only UTF-8 text.
#include <cstdint>

#include <Foundation/OldStylePropertyList.h>
#include <Foundation/Unicode.h>

#include "FuzzCheck.h"

namespace {

bool textIsUTF8(const Value& value) {
    if (const std::string* text = value.string()) {
        return Unicode::isValidUTF8(*text);
    }
    bool valid = true;
    if (const Value::Array* items = value.array()) {
        for (const Value& item : *items) {
            valid = valid && textIsUTF8(item);
        }
    }
    if (const Value::Dictionary* entries = value.dictionary()) {
        for (const auto& [key, item] : *entries) {
            valid = valid && Unicode::isValidUTF8(key) && textIsUTF8(item);
        }
    }
    return valid;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string error;
    std::optional<Value> table = OldStylePropertyList::parse(NSData(data, data + size), &error);
    KL_FUZZ_CHECK(table || !error.empty());
    if (table) {
        KL_FUZZ_CHECK(textIsUTF8(*table));
    }
    return 0;
}
