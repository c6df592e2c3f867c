#include <Cassowary/Constraint.h>

#include <cstdio>

namespace cassowary {

Constraint::Constraint(const Expression& expression, RelationalOperator op, double strength)
    : _data(std::make_shared<const Data>(expression.reduced(), op, strength::clip(strength))) {}

Constraint::Constraint(const Constraint& other, double strength)
    : _data(
          std::make_shared<const Data>(other.expression(), other.op(), strength::clip(strength))) {}

std::string Constraint::description() const {
    auto number = [](double value) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", value);
        return std::string(text);
    };
    std::string text;
    for (const Term& term : expression().terms()) {
        text += number(term.coefficient()) + " * ";
        text += term.variable().name().empty() ? "?" : term.variable().name();
        text += " + ";
    }
    text += number(expression().constant());
    switch (op()) {
    case RelationalOperator::LessThanOrEqual:
        text += " <= 0";
        break;
    case RelationalOperator::GreaterThanOrEqual:
        text += " >= 0";
        break;
    case RelationalOperator::Equal:
        text += " == 0";
        break;
    }
    return text + " (strength " + number(strength()) + ")";
}

Constraint operator==(const Expression& lhs, const Expression& rhs) {
    return Constraint(lhs - rhs, RelationalOperator::Equal);
}

Constraint operator<=(const Expression& lhs, const Expression& rhs) {
    return Constraint(lhs - rhs, RelationalOperator::LessThanOrEqual);
}

Constraint operator>=(const Expression& lhs, const Expression& rhs) {
    return Constraint(lhs - rhs, RelationalOperator::GreaterThanOrEqual);
}

Constraint operator|(const Constraint& constraint, double strength) {
    return Constraint(constraint, strength);
}

} // namespace cassowary
