#include "ScriptRecorder.h"

#include <algorithm>
#include <cctype>

#include "HostError.h"
#include "automation/ViewFinder.h"

std::string ScriptRecorder::text() const {
    std::string text = "# Recorded by klprefs serve.\n";
    for (const std::string& line : _lines) {
        text += line + "\n";
    }
    return text;
}

std::optional<std::string> ScriptRecorder::argument(const std::string& text) {
    if (std::any_of(text.begin(), text.end(),
                    [](unsigned char c) { return c < 0x20 || c == 0x7F; })) {
        return std::nullopt;
    }
    // A "#" alone would start a comment.
    const bool plain =
        !text.empty() && text != "#" && text.find_first_of(" \"\\") == std::string::npos;
    if (plain) {
        return text;
    }
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "\"";
}

std::string ScriptRecorder::rowSelector(const PageHost& host, const PageHost::Row& row) {
    // A selector names the row when the finder, given it, finds this row.
    auto names = [&](const std::string& selector) {
        try {
            return ViewFinder(host).row(selector).index == row.index;
        } catch (const HostError&) {
            return false;
        }
    };
    std::optional<std::string> label = row.specifier->name();
    if (!label) {
        label = row.specifier->propertyForKey("title").optionalString();
    }
    if (label && !label->empty()) {
        const bool readsAsSelector = std::all_of(label->begin(), label->end(),
                                                 [](unsigned char c) { return std::isdigit(c); }) ||
                                     label->rfind("key:", 0) == 0 || label->rfind("label:", 0) == 0;
        const std::string selector = readsAsSelector ? "label:" + *label : *label;
        if (argument(selector) && names(selector)) {
            return *argument(selector);
        }
    }
    if (std::optional<std::string> key = row.specifier->propertyForKey("key").optionalString()) {
        const std::string selector = "key:" + *key;
        if (argument(selector) && names(selector)) {
            return *argument(selector);
        }
    }
    return std::to_string(row.index);
}
