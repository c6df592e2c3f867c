#pragma once

#include <optional>
#include <string>

#include <Foundation/Value.h>

enum NSPropertyListFormat : long {
    NSPropertyListOpenStepFormat = 1,
    NSPropertyListXMLFormat_v1_0 = 100,
    NSPropertyListBinaryFormat_v1_0 = 200,
};

// Property lists to and from bytes and files, XML and binary (read and
// written with libplist). Paths are device paths, resolved under the device
// root.
class NSPropertyListSerialization {
public:
    NSPropertyListSerialization() = delete;

    // The longest property-list file read (a bundle's lists and string
    // tables, a preference domain): far beyond any real one, and small
    // enough that reading and parsing it stays within memory.
    static constexpr size_t kMaximumFileLength = 16 * 1024 * 1024;

    // Parses XML or binary data (and old-style text, which is read only). nil and a message in
    // `error` when the data is not a property list; `format` receives the form that was read.
    // A list holding text that is not valid UTF-8, or an integer beyond 64 signed bits, is
    // refused whole: no value is made up for it.
    static std::optional<Value> propertyListWithData(const NSData& data,
                                                     NSPropertyListFormat* format = nullptr,
                                                     std::string* error = nullptr);
    // XML or binary bytes; empty data and a message in `error` when the value
    // cannot be stored (nil inside it, a date out of range, text that is
    // not valid UTF-8, the old-style
    // format, which can only be read).
    static NSData dataWithPropertyList(const Value& plist, NSPropertyListFormat format,
                                       std::string* error = nullptr);

    // Reads a property-list file; nil when it is missing, unreadable or malformed.
    // Reads at most kMaximumFileLength bytes: a longer file is refused,
    // with its name and length, before it is read.
    static std::optional<Value> propertyListWithContentsOfFile(const std::string& devicePath,
                                                               std::string* error = nullptr);
    // Writes atomically: the data goes to a temporary file beside the target,
    // which then replaces it, so a reader sees the old file or the new one.
    // Missing folders above it are made; on failure the old file is untouched
    // and `error` says why.
    static bool writePropertyList(const Value& plist, const std::string& devicePath,
                                  NSPropertyListFormat format, std::string* error = nullptr);
};
