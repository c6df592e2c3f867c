#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include <Cassowary/Cassowary.h>

using namespace cassowary;

// Small random systems checked against a reference that enumerates vertices.
// Every variable is boxed in by required bounds, so the required region is a
// bounded polytope: it is empty unless one of the points where n of the
// constraints' boundary planes meet satisfies every required constraint, and
// the weighted violation, convex and piecewise linear, is least at such a
// point too.

namespace {

constexpr int kDimensions = 3;
constexpr double kBound = 50;
// How far a solved value may be from the reference solution.
constexpr double kReferenceTolerance = 1e-6;

using Point = std::array<double, kDimensions>;

struct Linear {
    Point coefficients{};
    double constant = 0;
    RelationalOperator op = RelationalOperator::Equal;
    // 0 for required.
    double weight = 0;

    double at(const Point& x) const {
        double sum = constant;
        for (int i = 0; i < kDimensions; ++i) {
            sum += coefficients[i] * x[i];
        }
        return sum;
    }
    double violation(const Point& x) const {
        double value = at(x);
        switch (op) {
        case RelationalOperator::LessThanOrEqual:
            return std::max(0.0, value);
        case RelationalOperator::GreaterThanOrEqual:
            return std::max(0.0, -value);
        case RelationalOperator::Equal:
            return std::abs(value);
        }
        return 0;
    }
};

std::optional<Point> intersect(const std::array<const Linear*, kDimensions>& planes) {
    // Gaussian elimination with partial pivoting on [A | -b].
    double m[kDimensions][kDimensions + 1];
    for (int r = 0; r < kDimensions; ++r) {
        for (int c = 0; c < kDimensions; ++c) {
            m[r][c] = planes[r]->coefficients[c];
        }
        m[r][kDimensions] = -planes[r]->constant;
    }
    for (int c = 0; c < kDimensions; ++c) {
        int pivot = c;
        for (int r = c + 1; r < kDimensions; ++r) {
            if (std::abs(m[r][c]) > std::abs(m[pivot][c])) {
                pivot = r;
            }
        }
        if (std::abs(m[pivot][c]) < 1e-9) {
            return std::nullopt;
        }
        std::swap(m[pivot], m[c]);
        for (int r = 0; r < kDimensions; ++r) {
            if (r != c) {
                double factor = m[r][c] / m[c][c];
                for (int k = c; k <= kDimensions; ++k) {
                    m[r][k] -= factor * m[c][k];
                }
            }
        }
    }
    Point x;
    for (int r = 0; r < kDimensions; ++r) {
        x[r] = m[r][kDimensions] / m[r][r];
    }
    return x;
}

double cost(const std::vector<Linear>& system, const Point& x) {
    double sum = 0;
    for (const Linear& linear : system) {
        sum += linear.weight * linear.violation(x);
    }
    return sum;
}

bool feasible(const std::vector<Linear>& system, const Point& x) {
    for (const Linear& linear : system) {
        if (linear.weight == 0 && linear.violation(x) > 1e-7) {
            return false;
        }
    }
    return true;
}

// The least weighted violation over the required region, or nothing if it is empty.
std::optional<double> referenceOptimum(const std::vector<Linear>& system) {
    std::optional<double> best;
    size_t count = system.size();
    for (size_t i = 0; i < count; ++i) {
        for (size_t j = i + 1; j < count; ++j) {
            for (size_t k = j + 1; k < count; ++k) {
                auto x = intersect({&system[i], &system[j], &system[k]});
                if (x && feasible(system, *x)) {
                    double value = cost(system, *x);
                    if (!best || value < *best) {
                        best = value;
                    }
                }
            }
        }
    }
    return best;
}

class RandomSystem {
public:
    explicit RandomSystem(unsigned seed) : _random(seed) {
        for (int i = 0; i < kDimensions; ++i) {
            Point unit{};
            unit[i] = 1;
            _bounds.push_back({unit, kBound, RelationalOperator::GreaterThanOrEqual, 0});
            _bounds.push_back({unit, -kBound, RelationalOperator::LessThanOrEqual, 0});
        }
    }

    Linear next() {
        std::uniform_int_distribution<int> coefficient(-3, 3);
        std::uniform_int_distribution<int> constant(-30, 30);
        std::uniform_int_distribution<int> op(0, 2);
        const double weights[] = {0, 0, strength::weak, 3, strength::medium, strength::strong};
        std::uniform_int_distribution<size_t> weight(0, std::size(weights) - 1);
        Linear linear;
        for (double& value : linear.coefficients) {
            value = coefficient(_random);
        }
        linear.constant = constant(_random);
        linear.op = static_cast<RelationalOperator>(op(_random));
        linear.weight = weights[weight(_random)];
        return linear;
    }

    size_t pick(size_t count) {
        return std::uniform_int_distribution<size_t>(0, count - 1)(_random);
    }
    const std::vector<Linear>& bounds() const { return _bounds; }

private:
    std::mt19937 _random;
    std::vector<Linear> _bounds;
};

Constraint toConstraint(const Linear& linear, const std::array<Variable, kDimensions>& x) {
    Expression expression(linear.constant);
    for (int i = 0; i < kDimensions; ++i) {
        expression += linear.coefficients[i] * x[i];
    }
    return Constraint(expression, linear.op,
                      linear.weight == 0 ? strength::required : linear.weight);
}

struct Active {
    Linear linear;
    Constraint constraint;
};

// Checks the solver's solution against the reference for the active system.
void expectOptimal(Solver& solver, const std::array<Variable, kDimensions>& x,
                   const std::vector<Linear>& system) {
    solver.updateVariables();
    Point solution;
    for (int i = 0; i < kDimensions; ++i) {
        solution[i] = x[i].value();
    }
    for (const Linear& linear : system) {
        if (linear.weight == 0) {
            ASSERT_LT(linear.violation(solution), kReferenceTolerance);
        }
    }
    std::optional<double> optimum = referenceOptimum(system);
    ASSERT_TRUE(optimum.has_value());
    EXPECT_NEAR(cost(system, solution), *optimum, kReferenceTolerance * (1 + *optimum));
}

std::vector<Linear> withBounds(const RandomSystem& random, const std::vector<Active>& active) {
    std::vector<Linear> system = random.bounds();
    for (const Active& entry : active) {
        system.push_back(entry.linear);
    }
    return system;
}

} // namespace

TEST(RandomizedSolver, MatchesReferenceThroughAddsAndRemovals) {
    for (unsigned seed = 1; seed <= 250; ++seed) {
        SCOPED_TRACE(seed);
        RandomSystem random(seed);
        std::array<Variable, kDimensions> x = {Variable("x0"), Variable("x1"), Variable("x2")};
        Solver solver;
        for (const Linear& bound : random.bounds()) {
            solver.addConstraint(toConstraint(bound, x));
        }
        std::vector<Active> active;
        for (int step = 0; step < 10; ++step) {
            Linear linear = random.next();
            if (!active.empty() && random.pick(4) == 0) {
                // A scaled copy of an active constraint: the same relation once more.
                linear = active[random.pick(active.size())].linear;
                double factor = random.pick(2) == 0 ? 2.0 : -1.0;
                for (double& value : linear.coefficients) {
                    value *= factor;
                }
                linear.constant *= factor;
                if (factor < 0 && linear.op != RelationalOperator::Equal) {
                    linear.op = linear.op == RelationalOperator::LessThanOrEqual
                                    ? RelationalOperator::GreaterThanOrEqual
                                    : RelationalOperator::LessThanOrEqual;
                }
            }
            Constraint constraint = toConstraint(linear, x);
            std::vector<Linear> system = withBounds(random, active);
            system.push_back(linear);
            bool satisfiable = referenceOptimum(system).has_value();
            if (satisfiable) {
                ASSERT_NO_THROW(solver.addConstraint(constraint)) << constraint.description();
                active.push_back({linear, constraint});
            } else {
                ASSERT_THROW(solver.addConstraint(constraint), UnsatisfiableConstraint)
                    << constraint.description();
            }
            expectOptimal(solver, x, withBounds(random, active));
        }
        while (!active.empty()) {
            size_t victim = random.pick(active.size());
            solver.removeConstraint(active[victim].constraint);
            active.erase(active.begin() + static_cast<long>(victim));
            expectOptimal(solver, x, withBounds(random, active));
        }
    }
}

TEST(RandomizedSolver, MatchesReferenceThroughSuggestions) {
    for (unsigned seed = 1; seed <= 150; ++seed) {
        SCOPED_TRACE(seed);
        RandomSystem random(seed * 7919);
        std::array<Variable, kDimensions> x = {Variable("x0"), Variable("x1"), Variable("x2")};
        Solver solver;
        for (const Linear& bound : random.bounds()) {
            solver.addConstraint(toConstraint(bound, x));
        }
        std::vector<Active> active;
        for (int step = 0; step < 6; ++step) {
            Linear linear = random.next();
            Constraint constraint = toConstraint(linear, x);
            std::vector<Linear> system = withBounds(random, active);
            system.push_back(linear);
            if (referenceOptimum(system)) {
                solver.addConstraint(constraint);
                active.push_back({linear, constraint});
            }
        }
        // Edits on x0 (medium) and x1 (strong) are weighted equalities to the suggestions.
        solver.addEditVariable(x[0], strength::medium);
        solver.addEditVariable(x[1], strength::strong);
        for (int round = 0; round < 12; ++round) {
            double first = static_cast<double>(random.pick(121)) - 60;
            double second = static_cast<double>(random.pick(121)) - 60;
            solver.suggestValue(x[0], first);
            solver.suggestValue(x[1], second);
            std::vector<Linear> system = withBounds(random, active);
            system.push_back({{1, 0, 0}, -first, RelationalOperator::Equal, strength::medium});
            system.push_back({{0, 1, 0}, -second, RelationalOperator::Equal, strength::strong});
            expectOptimal(solver, x, system);
        }
    }
}
