#include <Cassowary/VariableError.h>

namespace cassowary {

VariableError::VariableError(const std::string& problem, Variable variable)
    : std::runtime_error(problem + ": " + (variable.name().empty() ? "?" : variable.name())),
      _variable(std::move(variable)) {}

} // namespace cassowary
