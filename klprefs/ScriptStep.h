#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One line of a script: its number (from 1), its command and its arguments,
// quotes taken off.
struct ScriptStep {
    size_t line = 0;
    std::string command;
    std::vector<std::string> arguments;
};
