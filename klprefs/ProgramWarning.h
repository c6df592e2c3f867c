#pragma once

#include <string>

// What klprefs says on standard error when it goes on despite a problem:
// one line, "klprefs: warning: MESSAGE".
class ProgramWarning {
public:
    ProgramWarning() = delete;
    static void print(const std::string& message);
};
