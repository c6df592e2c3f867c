#include "JSONWriter.h"

#include <cmath>
#include <ctime>

#include <glib.h>

namespace {

std::string base64(const NSData& data) {
    gchar* encoded = g_base64_encode(data.data(), data.size());
    std::string out(encoded);
    g_free(encoded);
    return out;
}

// NSDate counts from 2001-01-01 00:00:00 UTC, 978307200 seconds after 1970's start.
std::string iso8601(const Value::Date& date) {
    const double unix = date.sinceReferenceDate + 978307200.0;
    const std::time_t seconds = static_cast<std::time_t>(std::floor(unix));
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

constexpr int kIndent = 2;

} // namespace

nlohmann::json JSONWriter::toJSON(const Value& v) {
    switch (v.type()) {
    case Value::Type::Nil:
        return nullptr;
    case Value::Type::Boolean:
        return v.boolValue();
    case Value::Type::Integer:
        return v.integerValue();
    case Value::Type::Real:
        return v.doubleValue();
    case Value::Type::String:
        return *v.string();
    case Value::Type::Data:
        return base64(*v.data());
    case Value::Type::Date:
        return iso8601(*v.date());
    case Value::Type::Array: {
        nlohmann::json items = nlohmann::json::array();
        for (const Value& item : *v.array()) {
            items.push_back(toJSON(item));
        }
        return items;
    }
    case Value::Type::Dictionary: {
        nlohmann::json entries = nlohmann::json::object();
        for (const auto& [key, item] : *v.dictionary()) {
            entries[key] = toJSON(item);
        }
        return entries;
    }
    }
    return nullptr;
}

std::string JSONWriter::write(const Value& value) {
    return writeNested(value, 0) + "\n";
}

std::string JSONWriter::writeNested(const Value& value, size_t depth) {
    std::string text =
        toJSON(value).dump(kIndent, ' ', false, nlohmann::json::error_handler_t::replace);
    if (depth == 0) {
        return text;
    }
    // A line break inside a text is written as \n, so every one here ends a line.
    const std::string indent(depth * kIndent, ' ');
    std::string nested;
    nested.reserve(text.size());
    for (char c : text) {
        nested += c;
        if (c == '\n') {
            nested += indent;
        }
    }
    return nested;
}
