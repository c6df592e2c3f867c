#include <Cassowary/Expression.h>

#include <unordered_map>

namespace cassowary {

double Expression::value() const {
    double sum = _constant;
    for (const Term& term : _terms) {
        sum += term.value();
    }
    return sum;
}

Expression Expression::reduced() const {
    // Short expressions, the common case, are combined by a scan; long ones
    // through an index so the cost stays linear.
    constexpr size_t kScanLimit = 16;
    std::vector<Term> combined;
    combined.reserve(_terms.size());
    std::unordered_map<const void*, size_t> index;
    for (const Term& term : _terms) {
        size_t position = combined.size();
        if (_terms.size() <= kScanLimit) {
            for (size_t i = 0; i < combined.size(); ++i) {
                if (combined[i].variable().isSame(term.variable())) {
                    position = i;
                    break;
                }
            }
        } else if (auto [found, inserted] = index.try_emplace(term.variable().identity(), position);
                   !inserted) {
            position = found->second;
        }
        if (position == combined.size()) {
            combined.push_back(term);
        } else {
            combined[position] = Term(combined[position].variable(),
                                      combined[position].coefficient() + term.coefficient());
        }
    }
    std::erase_if(combined, [](const Term& term) { return term.coefficient() == 0.0; });
    return Expression(std::move(combined), _constant);
}

Expression& Expression::operator+=(const Expression& other) {
    _terms.insert(_terms.end(), other._terms.begin(), other._terms.end());
    _constant += other._constant;
    return *this;
}

Expression& Expression::operator*=(double factor) {
    for (Term& term : _terms) {
        term = Term(term.variable(), term.coefficient() * factor);
    }
    _constant *= factor;
    return *this;
}

Expression operator+(Expression lhs, const Expression& rhs) {
    return lhs += rhs;
}

Expression operator-(Expression lhs, const Expression& rhs) {
    return lhs += -rhs;
}

Expression operator-(Expression expression) {
    return expression *= -1.0;
}

Expression operator*(Expression expression, double factor) {
    return expression *= factor;
}

Expression operator*(double factor, Expression expression) {
    return expression *= factor;
}

Expression operator/(Expression expression, double divisor) {
    return expression *= 1.0 / divisor;
}

} // namespace cassowary
