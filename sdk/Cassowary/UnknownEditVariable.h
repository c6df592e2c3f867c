#pragma once

#include <Cassowary/VariableError.h>

namespace cassowary {

// An edit variable removed or suggested that the solver does not edit.
class UnknownEditVariable : public VariableError {
public:
    explicit UnknownEditVariable(Variable variable)
        : VariableError("unknown edit variable", std::move(variable)) {}
};

} // namespace cassowary
