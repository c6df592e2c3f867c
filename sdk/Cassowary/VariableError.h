#pragma once

#include <stdexcept>
#include <string>

#include <Cassowary/Variable.h>

namespace cassowary {

// A solver error about one edit variable, which it carries.
class VariableError : public std::runtime_error {
public:
    VariableError(const std::string& problem, Variable variable);

    const Variable& variable() const { return _variable; }

private:
    Variable _variable;
};

} // namespace cassowary
