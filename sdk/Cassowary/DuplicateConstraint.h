#pragma once

#include <Cassowary/ConstraintError.h>

namespace cassowary {

// A constraint added to a solver that already has it.
class DuplicateConstraint : public ConstraintError {
public:
    explicit DuplicateConstraint(Constraint constraint)
        : ConstraintError("duplicate constraint", std::move(constraint)) {}
};

} // namespace cassowary
