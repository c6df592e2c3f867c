#include <Foundation/Value.h>

#include "JSONWriter.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <sstream>
#include <stdexcept>

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
    std::ostringstream out;
    JSONWriter(out).value(value);
    return out.str();
}

std::string JSONWriter::indent() const {
    return std::string(_levels.size() * kIndent, ' ');
}

void JSONWriter::beforeValue() {
    if (_levels.empty()) {
        return;
    }
    Level& level = _levels.back();
    if (level.object) {
        if (!level.keyWritten) {
            throw std::logic_error("a JSON object's member needs its key first");
        }
        level.keyWritten = false;
        return;
    }
    _out << (level.count++ == 0 ? "\n" : ",\n") << indent();
}

void JSONWriter::endValue() {
    if (_levels.empty()) {
        _out << '\n';
    }
}

void JSONWriter::key(const std::string& name) {
    if (_levels.empty() || !_levels.back().object || _levels.back().keyWritten) {
        throw std::logic_error("a JSON key belongs in an object, before its value");
    }
    Level& level = _levels.back();
    if (level.count > 0 && !(level.lastKey < name)) {
        throw std::logic_error("the JSON key \"" + name + "\" comes after \"" + level.lastKey +
                               "\"; keys are written in ascending order");
    }
    _out << (level.count++ == 0 ? "\n" : ",\n") << indent()
         << nlohmann::json(name).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)
         << ": ";
    level.lastKey = name;
    level.keyWritten = true;
}

void JSONWriter::value(const Value& value) {
    beforeValue();
    writeNested(toJSON(value).dump(kIndent, ' ', false, nlohmann::json::error_handler_t::replace));
    endValue();
}

void JSONWriter::document(const std::string& json) {
    beforeValue();
    std::string_view text(json);
    if (!text.empty() && text.back() == '\n') {
        text.remove_suffix(1);
    }
    writeNested(text);
    endValue();
}

void JSONWriter::writeNested(std::string_view text) {
    // A line break inside a text is written as \n, so every one here ends a
    // line, and the next is indented to this depth.
    const std::string depth = indent();
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size() - 1) + 1;
        _out.write(text.data() + start, static_cast<std::streamsize>(end - start));
        if (text[end - 1] == '\n') {
            _out << depth;
        }
        start = end;
    }
}

void JSONWriter::beginObject() {
    beforeValue();
    _out << '{';
    _levels.push_back({true, 0, {}, false});
}

void JSONWriter::beginArray() {
    beforeValue();
    _out << '[';
    _levels.push_back({false, 0, {}, false});
}

void JSONWriter::endObject() {
    close(true);
}

void JSONWriter::endArray() {
    close(false);
}

void JSONWriter::close(bool object) {
    if (_levels.empty() || _levels.back().object != object || _levels.back().keyWritten) {
        throw std::logic_error(object ? "no JSON object to close here"
                                      : "no JSON array to close here");
    }
    const bool empty = _levels.back().count == 0;
    _levels.pop_back();
    if (!empty) {
        _out << '\n' << indent();
    }
    _out << (object ? '}' : ']');
    endValue();
}
