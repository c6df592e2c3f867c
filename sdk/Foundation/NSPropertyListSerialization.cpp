#include <Foundation/NSPropertyListSerialization.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

#include <plist/plist.h>

#include <Foundation/BinaryPropertyListObjects.h>
#include <Foundation/NSFileManager.h>
#include <Foundation/OldStylePropertyList.h>
#include <Foundation/PropertyListDepth.h>
#include <Foundation/PropertyListIntegers.h>
#include <Foundation/Unicode.h>

namespace {

struct NodeDeleter {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using Node = std::unique_ptr<void, NodeDeleter>;

constexpr char kBinaryMagic[] = "bplist00";
// Deeper nesting is refused rather than read by a recursion that could run
// out of stack.
constexpr int kMaximumDepth = 512;

bool setError(std::string* error, std::string message) {
    if (error) {
        *error = std::move(message);
    }
    return false;
}

constexpr const char* kNotUTF8 = "The property list holds text that is not valid UTF-8";
constexpr const char* kDateOutOfRange = "A date outside the years 1933 to 2069 cannot be read";

// nil, with the reason in `error` where there is one to give, when the node
// cannot be a Value.
std::optional<Value> valueFromNode(plist_t node, std::string& error, int depth = 0) {
    if (depth > kMaximumDepth) {
        return std::nullopt;
    }
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t flag = 0;
        plist_get_bool_val(node, &flag);
        return Value(flag != 0);
    }
    case PLIST_UINT:
    case PLIST_UID: {
        // libplist keeps every integer as 64 bits; negative numbers come back
        // as their two's complement.
        uint64_t number = 0;
        if (plist_get_node_type(node) == PLIST_UID) {
            plist_get_uid_val(node, &number);
        } else {
            plist_get_uint_val(node, &number);
        }
        return Value(static_cast<long long>(number));
    }
    case PLIST_REAL: {
        double number = 0;
        plist_get_real_val(node, &number);
        return Value(number);
    }
    case PLIST_STRING: {
        uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        std::string string(text ? text : "", text ? length : 0);
        if (!Unicode::isValidUTF8(string)) {
            error = kNotUTF8;
            return std::nullopt;
        }
        return Value(std::move(string));
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        if (!bytes) {
            return Value(NSData{});
        }
        auto start = reinterpret_cast<const uint8_t*>(bytes);
        return Value(NSData(start, start + length));
    }
    case PLIST_DATE: {
        int32_t seconds = 0;
        int32_t microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        // libplist gives the earliest second for a date it cannot hold.
        if (seconds == std::numeric_limits<int32_t>::min()) {
            error = kDateOutOfRange;
            return std::nullopt;
        }
        return Value(Value::Date{seconds + microseconds / 1e6});
    }
    case PLIST_ARRAY: {
        Value::Array items;
        items.reserve(plist_array_get_size(node));
        // Walked with an iterator: indexing an array libplist read from a
        // binary file counts through its items every time.
        plist_array_iter iterator = nullptr;
        plist_array_new_iter(node, &iterator);
        std::unique_ptr<void, decltype(&std::free)> iteratorOwner(iterator, &std::free);
        for (;;) {
            plist_t child = nullptr;
            plist_array_next_item(node, iterator, &child);
            if (!child) {
                break;
            }
            std::optional<Value> item = valueFromNode(child, error, depth + 1);
            if (!item) {
                return std::nullopt;
            }
            items.push_back(std::move(*item));
        }
        return Value(std::move(items));
    }
    case PLIST_DICT: {
        Value::Dictionary entries;
        plist_dict_iter iterator = nullptr;
        plist_dict_new_iter(node, &iterator);
        std::unique_ptr<void, decltype(&std::free)> iteratorOwner(iterator, &std::free);
        for (;;) {
            char* key = nullptr;
            plist_t item = nullptr;
            plist_dict_next_item(node, iterator, &key, &item);
            std::unique_ptr<char, decltype(&std::free)> keyOwner(key, &std::free);
            if (!item) {
                break;
            }
            if (!key || !Unicode::isValidUTF8(key)) {
                error = key ? kNotUTF8 : "";
                return std::nullopt;
            }
            std::optional<Value> value = valueFromNode(item, error, depth + 1);
            if (!value) {
                return std::nullopt;
            }
            entries.insert_or_assign(key, std::move(*value));
        }
        return Value(std::move(entries));
    }
    default:
        return std::nullopt;
    }
}

Node nodeFromValue(const Value& value, NSPropertyListFormat format, std::string* error) {
    switch (value.type()) {
    case Value::Type::Nil:
        setError(error, "nil cannot be stored in a property list");
        return nullptr;
    case Value::Type::Boolean:
        return Node(plist_new_bool(value.boolValue() ? 1 : 0));
    case Value::Type::Integer:
        return Node(plist_new_uint(static_cast<uint64_t>(value.integerValue())));
    case Value::Type::Real:
        return Node(plist_new_real(value.doubleValue()));
    case Value::Type::String: {
        const std::string& text = *value.string();
        if (text.find('\0') != std::string::npos) {
            setError(error, "A text holding a NUL character cannot be stored");
            return nullptr;
        }
        if (!Unicode::isValidUTF8(text)) {
            setError(error, "A text that is not valid UTF-8 cannot be stored");
            return nullptr;
        }
        return Node(plist_new_string(text.c_str()));
    }
    case Value::Type::Data: {
        const NSData& bytes = *value.data();
        return Node(plist_new_data(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    case Value::Type::Date: {
        // libplist counts whole seconds in 32 bits. XML holds whole seconds
        // only, so the date is floored there rather than left to libplist's
        // rounding toward zero.
        double since = value.date()->sinceReferenceDate;
        double seconds = std::floor(since);
        if (!std::isfinite(since) || seconds <= std::numeric_limits<int32_t>::min() ||
            seconds > std::numeric_limits<int32_t>::max()) {
            setError(error, "A date outside the years 1933 to 2069 cannot be stored");
            return nullptr;
        }
        int32_t microseconds = 0;
        if (format == NSPropertyListBinaryFormat_v1_0) {
            microseconds = static_cast<int32_t>(std::lround((since - seconds) * 1e6));
            if (microseconds >= 1000000) {
                microseconds = 999999;
            }
        }
        return Node(plist_new_date(static_cast<int32_t>(seconds), microseconds));
    }
    case Value::Type::Array: {
        Node array(plist_new_array());
        for (const Value& item : *value.array()) {
            Node node = nodeFromValue(item, format, error);
            if (!node) {
                return nullptr;
            }
            plist_array_append_item(array.get(), node.release());
        }
        return array;
    }
    case Value::Type::Dictionary: {
        Node dictionary(plist_new_dict());
        for (const auto& [key, item] : *value.dictionary()) {
            if (key.find('\0') != std::string::npos || !Unicode::isValidUTF8(key)) {
                setError(error, "A key holding a NUL character or text that is not valid UTF-8 "
                                "cannot be stored");
                return nullptr;
            }
            Node node = nodeFromValue(item, format, error);
            if (!node) {
                return nullptr;
            }
            plist_dict_set_item(dictionary.get(), key.c_str(), node.release());
        }
        return dictionary;
    }
    }
    return nullptr;
}

// What libplist cannot read faithfully: it aborts the process on a
// dictionary key holding a NUL character, and holds dates in 32-bit seconds,
// making up another date for one beyond them. nil when there is none.
std::optional<std::string> binaryUnreadable(const NSData& data) {
    BinaryPropertyListObjects objects(data);
    if (!objects.readTrailer()) {
        return "Malformed binary property list";
    }
    for (uint64_t object = 0; object < objects.count(); ++object) {
        if (!objects.keysHoldNoNul(object)) {
            return "The binary property list holds a key with a NUL character";
        }
        if (!objects.dateWithin32BitSeconds(object)) {
            return std::string(kDateOutOfRange);
        }
    }
    return std::nullopt;
}

bool isBinary(const NSData& data) {
    return data.size() >= 8 && std::memcmp(data.data(), kBinaryMagic, 8) == 0;
}

// The start of the XML text: after a UTF-8 byte-order mark (which libplist
// does not accept) and white space.
size_t xmlStart(const NSData& data) {
    size_t start = 0;
    if (data.size() >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) {
        start = 3;
    }
    while (start < data.size() && (data[start] == ' ' || data[start] == '\t' ||
                                   data[start] == '\r' || data[start] == '\n')) {
        ++start;
    }
    return start;
}

} // namespace

std::optional<Value> NSPropertyListSerialization::propertyListWithData(const NSData& data,
                                                                       NSPropertyListFormat* format,
                                                                       std::string* error) {
    if (data.empty()) {
        setError(error, "The data is empty");
        return std::nullopt;
    }
    if (data.size() > std::numeric_limits<uint32_t>::max()) {
        setError(error, "The data is too large for a property list");
        return std::nullopt;
    }
    if (isBinary(data)) {
        const char* bytes = reinterpret_cast<const char*>(data.data());
        if (!PropertyListDepth::binaryWithin(data, kMaximumDepth)) {
            setError(error, "Malformed binary property list, or nested too deeply");
            return std::nullopt;
        }
        if (!PropertyListIntegers::binaryWithin64Bits(data)) {
            setError(error, "The binary property list holds an integer beyond 64 bits");
            return std::nullopt;
        }
        if (std::optional<std::string> reason = binaryUnreadable(data)) {
            setError(error, *reason);
            return std::nullopt;
        }
        plist_t root = nullptr;
        plist_from_bin(bytes, static_cast<uint32_t>(data.size()), &root);
        Node owner(root);
        std::string reason;
        std::optional<Value> value = root ? valueFromNode(root, reason) : std::nullopt;
        if (!value) {
            setError(error, reason.empty() ? "Malformed binary property list" : reason);
        } else if (format) {
            *format = NSPropertyListBinaryFormat_v1_0;
        }
        return value;
    }

    size_t start = xmlStart(data);
    const bool looksLikeXml = start < data.size() && data[start] == '<';
    if (looksLikeXml && !PropertyListDepth::xmlWithin(data, start, kMaximumDepth)) {
        setError(error, "The XML property list is nested too deeply");
        return std::nullopt;
    }
    if (looksLikeXml && std::memchr(data.data(), 0, data.size())) {
        // XML cannot hold U+0000; libplist would cut the text short there.
        setError(error, "The XML property list holds a NUL character");
        return std::nullopt;
    }
    if (looksLikeXml) {
        std::string reason;
        std::optional<std::string> xml = PropertyListIntegers::normalisedXML(data, start, &reason);
        if (!xml) {
            setError(error, reason);
            return std::nullopt;
        }
        plist_t root = nullptr;
        plist_from_xml(xml->data(), static_cast<uint32_t>(xml->size()), &root);
        Node owner(root);
        if (std::optional<Value> value = root ? valueFromNode(root, reason) : std::nullopt) {
            if (format) {
                *format = NSPropertyListXMLFormat_v1_0;
            }
            return value;
        }
        if (!reason.empty()) {
            setError(error, reason);
            return std::nullopt;
        }
    }
    // Old-style text; a top-level "<hex>" data value also starts with "<".
    std::string oldStyleError;
    std::optional<Value> value = OldStylePropertyList::parse(data, &oldStyleError);
    if (!value) {
        setError(error, looksLikeXml ? "Malformed XML property list" : oldStyleError);
    } else if (format) {
        *format = NSPropertyListOpenStepFormat;
    }
    return value;
}

NSData NSPropertyListSerialization::dataWithPropertyList(const Value& plist,
                                                         NSPropertyListFormat format,
                                                         std::string* error) {
    if (format != NSPropertyListXMLFormat_v1_0 && format != NSPropertyListBinaryFormat_v1_0) {
        setError(error, format == NSPropertyListOpenStepFormat
                            ? "The old-style format can be read but not written"
                            : "Unknown property-list format");
        return {};
    }
    Node root = nodeFromValue(plist, format, error);
    if (!root) {
        return {};
    }
    char* bytes = nullptr;
    uint32_t length = 0;
    if (format == NSPropertyListXMLFormat_v1_0) {
        plist_to_xml(root.get(), &bytes, &length);
    } else {
        plist_to_bin(root.get(), &bytes, &length);
    }
    if (!bytes) {
        setError(error, "libplist could not write the property list");
        return {};
    }
    NSData data(bytes, bytes + length);
    if (format == NSPropertyListXMLFormat_v1_0) {
        plist_to_xml_free(bytes);
    } else {
        plist_to_bin_free(bytes);
    }
    return data;
}

std::optional<Value>
NSPropertyListSerialization::propertyListWithContentsOfFile(const std::string& devicePath,
                                                            std::string* error) {
    std::optional<NSData> contents =
        NSFileManager::defaultManager()->contentsAtPath(devicePath, error, kMaximumFileLength);
    if (!contents) {
        return std::nullopt;
    }
    std::string reason;
    std::optional<Value> value = propertyListWithData(*contents, nullptr, &reason);
    if (!value) {
        setError(error, "Could not read \"" + devicePath + "\": " + reason);
    }
    return value;
}

bool NSPropertyListSerialization::writePropertyList(const Value& plist,
                                                    const std::string& devicePath,
                                                    NSPropertyListFormat format,
                                                    std::string* error) {
    std::string reason;
    NSData data = dataWithPropertyList(plist, format, &reason);
    if (data.empty()) {
        return setError(error, "Could not write \"" + devicePath + "\": " + reason);
    }
    const Ref<NSFileManager> files = NSFileManager::defaultManager();
    size_t slash = devicePath.find_last_of('/');
    if (slash != std::string::npos && slash > 0) {
        if (!files->createDirectoryAtPath(devicePath.substr(0, slash), true, error)) {
            return false;
        }
    }
    return files->createFileAtPath(devicePath, data, error);
}
