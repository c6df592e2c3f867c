#pragma once

#include <Cassowary/ConstraintError.h>

namespace cassowary {

// A constraint removed from a solver that does not have it.
class UnknownConstraint : public ConstraintError {
public:
    explicit UnknownConstraint(Constraint constraint)
        : ConstraintError("unknown constraint", std::move(constraint)) {}
};

} // namespace cassowary
