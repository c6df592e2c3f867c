#pragma once

#include <Cassowary/VariableError.h>

namespace cassowary {

// An edit whose suggested value, starting value or strength is not a finite number.
class InvalidSuggestion : public VariableError {
public:
    explicit InvalidSuggestion(Variable variable)
        : VariableError("edit value or strength is not finite", std::move(variable)) {}
};

} // namespace cassowary
