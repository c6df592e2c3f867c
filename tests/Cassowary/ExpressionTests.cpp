#include <functional>
#include <string>

#include <gtest/gtest.h>

#include <Cassowary/Cassowary.h>

using namespace cassowary;

namespace {

struct ExpressionCase {
    std::string name;
    std::function<Expression(const Variable&, const Variable&)> build;
    // The same arithmetic on plain numbers.
    std::function<double(double, double)> expected;
};

} // namespace

TEST(Expression, OperatorsComputeTheirArithmetic) {
    const ExpressionCase cases[] = {
        {"variable plus number", [](auto& x, auto&) { return x + 5; },
         [](double x, double) { return x + 5; }},
        {"number plus variable", [](auto& x, auto&) { return 5 + x; },
         [](double x, double) { return 5 + x; }},
        {"scaled difference", [](auto& x, auto& y) { return 2 * x - y; },
         [](double x, double y) { return 2 * x - y; }},
        {"scaled on the right", [](auto& x, auto& y) { return x * 3 + y * -1; },
         [](double x, double y) { return x * 3 - y; }},
        {"negation", [](auto& x, auto& y) { return -(x - y) + 1; },
         [](double x, double y) { return -(x - y) + 1; }},
        {"division", [](auto& x, auto& y) { return (x + y) / 4; },
         [](double x, double y) { return (x + y) / 4; }},
        {"number minus expression", [](auto& x, auto& y) { return 10 - (x + 2 * y); },
         [](double x, double y) { return 10 - (x + 2 * y); }},
    };
    Variable x("x");
    Variable y("y");
    x.setValue(3);
    y.setValue(-7);
    for (const ExpressionCase& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_DOUBLE_EQ(test.build(x, y).value(), test.expected(3, -7));
    }
}

TEST(Expression, ReducedCombinesEachVariableOnceInFirstOrder) {
    Variable x("x");
    Variable y("y");
    Variable z("z");
    Expression reduced = (y + 2 * x + x - 3 * x + 4 * z - y + 2 * y + 1).reduced();
    ASSERT_EQ(reduced.terms().size(), 2u);
    EXPECT_TRUE(reduced.terms()[0].variable().isSame(y));
    EXPECT_DOUBLE_EQ(reduced.terms()[0].coefficient(), 2);
    EXPECT_TRUE(reduced.terms()[1].variable().isSame(z));
    EXPECT_DOUBLE_EQ(reduced.terms()[1].coefficient(), 4);
    EXPECT_DOUBLE_EQ(reduced.constant(), 1);
}

TEST(Expression, ReducedCombinesLongExpressions) {
    // Past the length where terms are combined by scanning.
    std::vector<Variable> variables(40);
    Expression sum;
    for (int round = 0; round < 3; ++round) {
        for (const Variable& variable : variables) {
            sum += variable;
        }
    }
    sum += -1 * variables[7];
    Expression reduced = sum.reduced();
    ASSERT_EQ(reduced.terms().size(), variables.size());
    for (size_t i = 0; i < variables.size(); ++i) {
        EXPECT_TRUE(reduced.terms()[i].variable().isSame(variables[i]));
        EXPECT_DOUBLE_EQ(reduced.terms()[i].coefficient(), i == 7 ? 2 : 3);
    }
}

TEST(Variable, CopiesShareOneVariable) {
    Variable original("width");
    Variable copy = original;
    copy.setValue(42);
    EXPECT_EQ(original.value(), 42);
    EXPECT_TRUE(copy.isSame(original));
    EXPECT_FALSE(Variable("width").isSame(original));
}
