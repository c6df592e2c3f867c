#pragma once

#include <stdexcept>

namespace cassowary {

// The tableau reached a state the algorithm rules out, such as an unbounded
// objective; it means a fault in the solver, not in the constraints.
class InternalSolverError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

} // namespace cassowary
