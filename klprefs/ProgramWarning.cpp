#include "ProgramWarning.h"

#include <cstdio>

void ProgramWarning::print(const std::string& message) {
    std::fprintf(stderr, "klprefs: warning: %s\n", message.c_str());
}
