#pragma once

#include <Cassowary/ConstraintError.h>

namespace cassowary {

// A required constraint that cannot hold together with the required ones already added.
class UnsatisfiableConstraint : public ConstraintError {
public:
    explicit UnsatisfiableConstraint(Constraint constraint)
        : ConstraintError("unsatisfiable required constraint", std::move(constraint)) {}
};

} // namespace cassowary
