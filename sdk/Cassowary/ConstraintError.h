#pragma once

#include <stdexcept>
#include <string>

#include <Cassowary/Constraint.h>

namespace cassowary {

// A solver error about one constraint, which it carries.
class ConstraintError : public std::runtime_error {
public:
    ConstraintError(const std::string& problem, Constraint constraint);

    const Constraint& constraint() const { return _constraint; }

private:
    Constraint _constraint;
};

} // namespace cassowary
