#include <Cassowary/ConstraintError.h>

namespace cassowary {

ConstraintError::ConstraintError(const std::string& problem, Constraint constraint)
    : std::runtime_error(problem + ": " + constraint.description()),
      _constraint(std::move(constraint)) {}

} // namespace cassowary
