#pragma once

#include <string>
#include <vector>

#include "ScriptStep.h"

// The steps of a script, one per line. Blank lines and comments are skipped:
// a line whose first mark is "#", and the rest of a line after a "#" that
// stands alone. Arguments are separated by blanks; a text in double quotes
// may hold blanks, \" and \\. A UTF-8 byte order mark at the top is skipped.
class Script {
public:
    // Throws a step HostError with the line of an unterminated quote.
    static std::vector<ScriptStep> parse(const std::string& text);
    // The text of the script at a path on this machine ("-": standard
    // input). Throws a usage HostError when it cannot be read (a folder
    // is no script).
    static std::string read(const std::string& path);
};
