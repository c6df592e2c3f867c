#pragma once

#include <Cassowary/VariableError.h>

namespace cassowary {

// An edit variable added to a solver that already edits it.
class DuplicateEditVariable : public VariableError {
public:
    explicit DuplicateEditVariable(Variable variable)
        : VariableError("duplicate edit variable", std::move(variable)) {}
};

} // namespace cassowary
