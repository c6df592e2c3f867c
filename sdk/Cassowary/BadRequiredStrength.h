#pragma once

#include <Cassowary/VariableError.h>

namespace cassowary {

// An edit variable added at required strength: a suggestion must be able to yield.
class BadRequiredStrength : public VariableError {
public:
    explicit BadRequiredStrength(Variable variable)
        : VariableError("edit variable cannot be required", std::move(variable)) {}
};

} // namespace cassowary
