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
};
