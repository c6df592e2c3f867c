#pragma once

#include <optional>
#include <string>
#include <vector>

#include "PageHost.h"

// The script of what a person did in the browser, a step a line, and how
// its steps name things as a person would: a row by its label, else by its
// key, else by its index; a text in quotes when it needs them.
class ScriptRecorder {
public:
    void append(const std::string& line) { _lines.push_back(line); }
    const std::vector<std::string>& lines() const { return _lines; }
    // The script as a file holds it: a heading comment, then a step a line.
    std::string text() const;

    // How a step names the row: its label (label:TEXT when the label would
    // read as an index or another selector), else key:KEY, else its index,
    // whichever names this row alone on the page shown.
    static std::string rowSelector(const PageHost& host, const PageHost::Row& row);
    // A step's argument: as it is when it holds no blank, quote or
    // backslash and is no lone "#", else in double quotes with \" and \\. Nothing when the text
    // holds a line break or another control character, which no step can carry.
    static std::optional<std::string> argument(const std::string& text);

    // The most steps kept: a person's session, not a generated flood.
    static constexpr size_t kMaximumSteps = 100000;

private:
    std::vector<std::string> _lines;
};
