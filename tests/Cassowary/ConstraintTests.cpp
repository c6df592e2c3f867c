#include <gtest/gtest.h>

#include <Cassowary/Cassowary.h>

using namespace cassowary;

TEST(Constraint, RelationsMoveEverythingToTheLeft) {
    Variable x("x");
    Variable y("y");
    const struct {
        Constraint constraint;
        RelationalOperator op;
    } cases[] = {
        {x + 2 <= y, RelationalOperator::LessThanOrEqual},
        {x + 2 == y, RelationalOperator::Equal},
        {x + 2 >= y, RelationalOperator::GreaterThanOrEqual},
    };
    x.setValue(10);
    y.setValue(4);
    for (const auto& test : cases) {
        EXPECT_EQ(test.constraint.op(), test.op);
        EXPECT_EQ(test.constraint.strength(), strength::required);
        EXPECT_TRUE(test.constraint.isRequired());
        // x + 2 - y at x = 10, y = 4.
        EXPECT_DOUBLE_EQ(test.constraint.expression().value(), 8);
    }
}

TEST(Constraint, IsKeptReduced) {
    Variable x("x");
    Constraint constraint = x + 5 == x + 2 * x;
    ASSERT_EQ(constraint.expression().terms().size(), 1u);
    EXPECT_DOUBLE_EQ(constraint.expression().terms()[0].coefficient(), -2);
    EXPECT_DOUBLE_EQ(constraint.expression().constant(), 5);
}

TEST(Constraint, AnotherStrengthMakesAnotherConstraint) {
    Variable x("x");
    Constraint required = x == 10;
    Constraint weak = required | strength::weak;
    EXPECT_FALSE(weak.isSame(required));
    EXPECT_EQ(weak.strength(), strength::weak);
    EXPECT_FALSE(weak.isRequired());
    EXPECT_EQ(weak.op(), required.op());
    EXPECT_TRUE(weak.expression().terms()[0].variable().isSame(x));
    EXPECT_TRUE(Constraint(weak).isSame(weak));
    // Strengths are kept within [0, required].
    EXPECT_EQ((required | 5 * strength::required).strength(), strength::required);
    EXPECT_EQ((required | -3).strength(), 0);
}

TEST(Constraint, DescriptionNamesVariablesAndRelation) {
    Variable width("width");
    Variable right("right");
    Constraint constraint = (2 * width + 10 <= right) | strength::medium;
    EXPECT_EQ(constraint.description(), "2 * width + -1 * right + 10 <= 0 (strength 1000)");
}
