#include "JSONWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

std::string base64(const NSData& data) {
    static const char alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < data.size(); i += 3) {
        const uint32_t chunk = data[i] << 16 | (i + 1 < data.size() ? data[i + 1] << 8 : 0) |
                               (i + 2 < data.size() ? data[i + 2] : 0);
        out += alphabet[chunk >> 18 & 63];
        out += alphabet[chunk >> 12 & 63];
        out += i + 1 < data.size() ? alphabet[chunk >> 6 & 63] : '=';
        out += i + 2 < data.size() ? alphabet[chunk & 63] : '=';
    }
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

std::string real(double number) {
    if (!std::isfinite(number)) {
        return "null";
    }
    char text[32];
    auto [end, error] = std::to_chars(text, text + sizeof text, number);
    std::string out(text, end);
    if (out.find_first_of(".e") == std::string::npos) {
        out += ".0";
    }
    return out;
}

} // namespace

std::string JSONWriter::write(const Value& value) {
    JSONWriter writer;
    writer.value(value, 0);
    writer._out += '\n';
    return writer._out;
}

void JSONWriter::newline(int depth) {
    _out += '\n';
    _out.append(static_cast<size_t>(depth) * 2, ' ');
}

void JSONWriter::value(const Value& v, int depth) {
    switch (v.type()) {
    case Value::Type::Nil:
        _out += "null";
        break;
    case Value::Type::Boolean:
        _out += v.boolValue() ? "true" : "false";
        break;
    case Value::Type::Integer:
        _out += std::to_string(v.integerValue());
        break;
    case Value::Type::Real:
        _out += real(v.doubleValue());
        break;
    case Value::Type::String:
        string(*v.string());
        break;
    case Value::Type::Data:
        string(base64(*v.data()));
        break;
    case Value::Type::Date:
        string(iso8601(*v.date()));
        break;
    case Value::Type::Array: {
        const Value::Array& items = *v.array();
        if (items.empty()) {
            _out += "[]";
            break;
        }
        _out += '[';
        for (size_t i = 0; i < items.size(); ++i) {
            newline(depth + 1);
            value(items[i], depth + 1);
            if (i + 1 < items.size()) {
                _out += ',';
            }
        }
        newline(depth);
        _out += ']';
        break;
    }
    case Value::Type::Dictionary: {
        const Value::Dictionary& entries = *v.dictionary();
        if (entries.empty()) {
            _out += "{}";
            break;
        }
        _out += '{';
        size_t left = entries.size();
        for (const auto& [key, item] : entries) {
            newline(depth + 1);
            string(key);
            _out += ": ";
            value(item, depth + 1);
            if (--left > 0) {
                _out += ',';
            }
        }
        newline(depth);
        _out += '}';
        break;
    }
    }
}

void JSONWriter::string(const std::string& text) {
    _out += '"';
    for (unsigned char c : text) {
        switch (c) {
        case '"':
            _out += "\\\"";
            break;
        case '\\':
            _out += "\\\\";
            break;
        case '\n':
            _out += "\\n";
            break;
        case '\r':
            _out += "\\r";
            break;
        case '\t':
            _out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", c);
                _out += escape;
            } else {
                _out += static_cast<char>(c);
            }
        }
    }
    _out += '"';
}
