#pragma once

#include <vector>

#include <Cassowary/Term.h>

namespace cassowary {

// A linear expression: a sum of terms plus a constant. Variables, terms and
// numbers convert to expressions, so `2 * x + y - 10` reads as written.
class Expression {
public:
    Expression(double constant = 0) : _constant(constant) {}
    Expression(Variable variable) : _terms{Term(std::move(variable))} {}
    Expression(Term term) : _terms{std::move(term)} {}
    Expression(std::vector<Term> terms, double constant = 0)
        : _terms(std::move(terms)), _constant(constant) {}

    const std::vector<Term>& terms() const { return _terms; }
    double constant() const { return _constant; }

    // The expression evaluated at the variables' current values.
    double value() const;

    // The same expression with each variable's terms combined into one and
    // cancelled terms dropped, in the order the variables first appear.
    Expression reduced() const;

    Expression& operator+=(const Expression& other);
    Expression& operator*=(double factor);

private:
    std::vector<Term> _terms;
    double _constant = 0;
};

Expression operator+(Expression lhs, const Expression& rhs);
Expression operator-(Expression lhs, const Expression& rhs);
Expression operator-(Expression expression);
Expression operator*(Expression expression, double factor);
Expression operator*(double factor, Expression expression);
Expression operator/(Expression expression, double divisor);

} // namespace cassowary
