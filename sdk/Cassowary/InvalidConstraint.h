#pragma once

#include <Cassowary/ConstraintError.h>

namespace cassowary {

// A constraint with a coefficient, constant or strength that is not a finite
// number: taken in, it would spread through the solution.
class InvalidConstraint : public ConstraintError {
public:
    explicit InvalidConstraint(Constraint constraint)
        : ConstraintError("constraint with a number that is not finite", std::move(constraint)) {}
};

} // namespace cassowary
