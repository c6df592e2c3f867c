#pragma once

#include <memory>
#include <string>

#include <Cassowary/Expression.h>
#include <Cassowary/Forward.h>
#include <Cassowary/Strength.h>

namespace cassowary {

enum class RelationalOperator { LessThanOrEqual, Equal, GreaterThanOrEqual };

// `expression op 0` at a strength. Copies are handles to one constraint, which
// a solver holds by identity; the expression is kept reduced.
class Constraint {
public:
    Constraint(const Expression& expression, RelationalOperator op,
               double strength = strength::required);
    // The same relation as another constraint, as a new constraint of another strength.
    Constraint(const Constraint& other, double strength);

    const Expression& expression() const { return _data->expression; }
    RelationalOperator op() const { return _data->op; }
    double strength() const { return _data->strength; }
    bool isRequired() const { return _data->strength >= strength::required; }

    bool isSame(const Constraint& other) const { return _data == other._data; }

    // Such as "2 * width + -1 * right + 10 <= 0 (strength 1000)", for messages.
    std::string description() const;

private:
    friend class Solver;

    struct Data {
        Data(Expression reducedExpression, RelationalOperator relation, double weight)
            : expression(std::move(reducedExpression)), op(relation), strength(weight) {}
        Expression expression;
        RelationalOperator op;
        double strength;
        // The solvers' bookkeeping, not part of the constraint's value.
        mutable Membership membership;
    };
    Membership& membership() const { return _data->membership; }

    std::shared_ptr<const Data> _data;
};

Constraint operator==(const Expression& lhs, const Expression& rhs);
Constraint operator<=(const Expression& lhs, const Expression& rhs);
Constraint operator>=(const Expression& lhs, const Expression& rhs);
// `(x == 10) | strength::weak`: the constraint at another strength.
Constraint operator|(const Constraint& constraint, double strength);

} // namespace cassowary
