// The property-list readers (XML, binary, old-style): whatever the bytes, a
// list read holds only UTF-8 text, and one that can be written again reads
// back (in XML, to the same bytes).
#include <cstdint>

#include <Foundation/NSPropertyListSerialization.h>
#include <Foundation/Unicode.h>

#include "FuzzCheck.h"

namespace {

bool textIsUTF8(const Value& value) {
    if (const std::string* text = value.string()) {
        return Unicode::isValidUTF8(*text);
    }
    if (const Value::Array* items = value.array()) {
        for (const Value& item : *items) {
            if (!textIsUTF8(item)) {
                return false;
            }
        }
    }
    if (const Value::Dictionary* entries = value.dictionary()) {
        for (const auto& [key, item] : *entries) {
            if (!Unicode::isValidUTF8(key) || !textIsUTF8(item)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const NSData bytes(data, data + size);
    std::optional<Value> read = NSPropertyListSerialization::propertyListWithData(bytes);
    if (!read) {
        return 0;
    }
    KL_FUZZ_CHECK(textIsUTF8(*read));
    for (NSPropertyListFormat format :
         {NSPropertyListXMLFormat_v1_0, NSPropertyListBinaryFormat_v1_0}) {
        const NSData written = NSPropertyListSerialization::dataWithPropertyList(*read, format);
        if (written.empty()) {
            continue; // A value this form cannot hold, such as a date out of its range.
        }
        std::optional<Value> back = NSPropertyListSerialization::propertyListWithData(written);
        KL_FUZZ_CHECK(back);
        // Binary dates may move by a microsecond (libplist truncates their
        // fraction when it reads them); XML holds whole seconds.
        if (format == NSPropertyListXMLFormat_v1_0) {
            KL_FUZZ_CHECK(NSPropertyListSerialization::dataWithPropertyList(*back, format) ==
                          written);
        }
    }
    return 0;
}
