#pragma once

#include <Cassowary/Variable.h>

namespace cassowary {

// A variable times a coefficient, one summand of a linear expression.
class Term {
public:
    Term(Variable variable, double coefficient = 1.0)
        : _variable(std::move(variable)), _coefficient(coefficient) {}

    const Variable& variable() const { return _variable; }
    double coefficient() const { return _coefficient; }
    double value() const { return _coefficient * _variable.value(); }

private:
    Variable _variable;
    double _coefficient;
};

} // namespace cassowary
