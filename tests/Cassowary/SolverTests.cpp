#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Cassowary/Cassowary.h>

using namespace cassowary;

namespace {

constexpr double kTolerance = 1e-6;

// Solves and reads back: the values the solver gives the variables now.
std::vector<double> solved(Solver& solver, const std::vector<Variable>& variables) {
    solver.updateVariables();
    std::vector<double> values;
    for (const Variable& variable : variables) {
        values.push_back(variable.value());
    }
    return values;
}

void expectValues(const std::vector<double>& actual, const std::vector<double>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i], expected[i], kTolerance) << "variable " << i;
    }
}

} // namespace

TEST(Solver, SolvesRequiredEqualitiesAndInequalities) {
    Variable x("x"), y("y"), z("z");
    Solver solver;
    solver.addConstraint(x == 10);
    solver.addConstraint(y == x + 5);
    solver.addConstraint(z >= y + 3);
    solver.addConstraint(z <= 2 * x);
    solver.addConstraint((z == 0) | strength::weak);
    expectValues(solved(solver, {x, y, z}), {10, 15, 18});
}

TEST(Solver, WeightedPreferencesTradeOffByStrength) {
    const struct {
        std::string name;
        double first;  // strength of x == 10
        double second; // strength of x == 20
        double expected;
    } cases[] = {
        {"strong over weak", strength::strong, strength::weak, 10},
        {"weak under medium", strength::weak, strength::medium, 20},
        {"three times the weight", strength::create(0, 0, 3), strength::weak, 10},
        {"priority 750 over 250", strength::fromPriority(250), strength::fromPriority(750), 20},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        Variable x("x");
        Solver solver;
        solver.addConstraint((x == 10) | test.first);
        solver.addConstraint((x == 20) | test.second);
        expectValues(solved(solver, {x}), {test.expected});
    }
}

TEST(Solver, ManyWeakViolationsCostLessThanOneStronger) {
    // x is pulled to 0 by one constraint at priority 750 and to 10 by a hundred at 250.
    Variable x("x");
    Solver solver;
    solver.addConstraint((x == 0) | strength::fromPriority(750));
    for (int i = 0; i < 100; ++i) {
        solver.addConstraint((x == 10) | strength::fromPriority(250));
    }
    expectValues(solved(solver, {x}), {0});
}

TEST(Solver, EditVariableFollowsSuggestionsWithinBounds) {
    Variable left("left"), width("width"), right("right");
    Solver solver;
    solver.addConstraint(right == left + width);
    solver.addConstraint(width == 50);
    solver.addConstraint(left >= 0);
    solver.addConstraint(right <= 300);
    solver.addEditVariable(left, strength::strong);
    EXPECT_TRUE(solver.hasEditVariable(left));

    const struct {
        double suggestion;
        double left;
    } steps[] = {{100, 100}, {280, 250}, {-40, 0}, {120, 120}, {250, 250}, {251, 250}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.suggestion);
        solver.suggestValue(left, step.suggestion);
        expectValues(solved(solver, {left, width, right}), {step.left, 50, step.left + 50});
    }
}

TEST(Solver, EditVariableStartsAtItsCurrentValue) {
    Variable x("x");
    Solver solver;
    solver.addConstraint((x == 5) | strength::weak);
    x.setValue(42);
    solver.addEditVariable(x, strength::strong);
    expectValues(solved(solver, {x}), {42});
    solver.removeEditVariable(x);
    EXPECT_FALSE(solver.hasEditVariable(x));
    expectValues(solved(solver, {x}), {5});
}

TEST(Solver, EditVariablesOfDifferentStrengthsYieldInOrder) {
    // Two edits pull on one width; the stronger one wins, the weaker takes over once removed.
    Variable width("width");
    Variable other("other");
    Solver solver;
    solver.addConstraint(other == width);
    solver.addEditVariable(width, strength::medium);
    solver.addEditVariable(other, strength::strong);
    solver.suggestValue(width, 100);
    solver.suggestValue(other, 300);
    expectValues(solved(solver, {width, other}), {300, 300});
    solver.removeEditVariable(other);
    expectValues(solved(solver, {width, other}), {100, 100});
    solver.suggestValue(width, 120);
    expectValues(solved(solver, {width, other}), {120, 120});
}

TEST(Solver, RemovingAConstraintRestoresTheEarlierSolution) {
    Variable x("x"), y("y"), z("z");
    auto base = [&](Solver& solver) {
        solver.addConstraint(x >= 0);
        solver.addConstraint(y == x + 10);
        solver.addConstraint(z <= y * 2);
        solver.addConstraint((x == 5) | strength::medium);
        solver.addConstraint((z == 100) | strength::weak);
    };
    const struct {
        std::string name;
        Constraint added;
    } cases[] = {
        {"required equality", x == 40},
        {"required inequality on a slack", x >= 30},
        {"required inequality on a variable's row", z <= 3},
        {"strong equality", (y == -20) | strength::strong},
        {"strong inequality", (z >= 300) | strength::strong},
        {"redundant equality", y - x == 10},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        Solver solver;
        base(solver);
        std::vector<double> before = solved(solver, {x, y, z});
        expectValues(before, {5, 15, 30});
        solver.addConstraint(test.added);
        EXPECT_TRUE(solver.hasConstraint(test.added));
        solver.removeConstraint(test.added);
        EXPECT_FALSE(solver.hasConstraint(test.added));
        expectValues(solved(solver, {x, y, z}), before);
    }
}

TEST(Solver, RedundantRequiredEqualitiesCanBeRemovedInAnyOrder) {
    Variable x("x");
    Variable y("y");
    Solver solver;
    Constraint first = x == 10;
    Constraint second = x == 10;
    Constraint third = 2 * x == 20;
    solver.addConstraint(first);
    solver.addConstraint(second);
    solver.addConstraint(third);
    solver.addConstraint((x == 0) | strength::weak);
    solver.addConstraint(y == x + 1);
    solver.removeConstraint(second);
    expectValues(solved(solver, {x, y}), {10, 11});
    solver.removeConstraint(first);
    expectValues(solved(solver, {x, y}), {10, 11});
    solver.removeConstraint(third);
    expectValues(solved(solver, {x, y}), {0, 1});
}

TEST(Solver, UnsatisfiableConstraintIsReportedAndLeavesTheSolverAsItWas) {
    Variable x("x"), y("y");
    const struct {
        std::string name;
        Constraint conflicting;
    } cases[] = {
        {"equality against equality", x == 20},
        {"inequality against equality", x >= 11},
        {"inequality against bound", y <= 3},
        {"equality against a bound", y - x == -10},
        {"sum against bound and equality, undone after pivots", y + x <= 14},
        {"constant contradiction", x - x == 1},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        Solver solver;
        solver.addConstraint(x == 10);
        solver.addConstraint(y >= x - 5);
        solver.addConstraint((y == 8) | strength::weak);
        std::vector<double> before = solved(solver, {x, y});
        expectValues(before, {10, 8});
        try {
            solver.addConstraint(test.conflicting);
            FAIL() << "accepted a conflicting constraint";
        } catch (const UnsatisfiableConstraint& error) {
            EXPECT_TRUE(error.constraint().isSame(test.conflicting));
            EXPECT_NE(std::string(error.what()).find("unsatisfiable"), std::string::npos);
        }
        EXPECT_FALSE(solver.hasConstraint(test.conflicting));
        expectValues(solved(solver, {x, y}), before);
        // Still usable: constraints go in and out as before.
        Constraint later = y >= 9;
        solver.addConstraint(later);
        expectValues(solved(solver, {x, y}), {10, 9});
        solver.removeConstraint(later);
        expectValues(solved(solver, {x, y}), before);
    }
}

TEST(Solver, NumbersThatAreNotFiniteAreRefused) {
    Variable x("x"), y("y");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const struct {
        std::string name;
        Constraint constraint;
    } cases[] = {
        {"constant", x == nan},
        {"infinite bound", x <= infinity},
        {"coefficient", infinity * y >= 2},
        {"strength", (y == 3) | nan},
    };
    Solver solver;
    solver.addConstraint(x == 5);
    solver.addConstraint((y == x) | strength::weak);
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        try {
            solver.addConstraint(test.constraint);
            FAIL();
        } catch (const InvalidConstraint& error) {
            EXPECT_TRUE(error.constraint().isSame(test.constraint));
        }
        EXPECT_FALSE(solver.hasConstraint(test.constraint));
        expectValues(solved(solver, {x, y}), {5, 5});
    }

    solver.addEditVariable(y, strength::strong);
    EXPECT_THROW(solver.suggestValue(y, nan), InvalidSuggestion);
    EXPECT_THROW(solver.suggestValue(y, -infinity), InvalidSuggestion);
    solver.suggestValue(y, 8);
    expectValues(solved(solver, {x, y}), {5, 8});
    Variable unset("unset");
    unset.setValue(nan);
    EXPECT_THROW(solver.addEditVariable(unset, strength::weak), InvalidSuggestion);
    EXPECT_THROW(solver.addEditVariable(x, nan), InvalidSuggestion);
    EXPECT_FALSE(solver.hasEditVariable(unset));
    EXPECT_FALSE(solver.hasEditVariable(x));
}

TEST(Solver, MisuseIsReportedWithTheCulprit) {
    Variable x("x");
    Variable unedited("unedited");
    Solver solver;
    Constraint bound = x <= 10;
    solver.addConstraint(bound);
    solver.addEditVariable(x, strength::medium);

    try {
        solver.addConstraint(bound);
        FAIL();
    } catch (const DuplicateConstraint& error) {
        EXPECT_TRUE(error.constraint().isSame(bound));
    }
    Constraint stranger = x >= 0;
    try {
        solver.removeConstraint(stranger);
        FAIL();
    } catch (const UnknownConstraint& error) {
        EXPECT_TRUE(error.constraint().isSame(stranger));
    }
    try {
        solver.addEditVariable(x, strength::weak);
        FAIL();
    } catch (const DuplicateEditVariable& error) {
        EXPECT_TRUE(error.variable().isSame(x));
    }
    const std::function<void()> unknownEdits[] = {
        [&] { solver.suggestValue(unedited, 1); },
        [&] { solver.removeEditVariable(unedited); },
    };
    for (const auto& misuse : unknownEdits) {
        try {
            misuse();
            FAIL();
        } catch (const UnknownEditVariable& error) {
            EXPECT_TRUE(error.variable().isSame(unedited));
            EXPECT_NE(std::string(error.what()).find("unedited"), std::string::npos);
        }
    }
    try {
        solver.addEditVariable(unedited, strength::required);
        FAIL();
    } catch (const BadRequiredStrength& error) {
        EXPECT_TRUE(error.variable().isSame(unedited));
    }
    EXPECT_FALSE(solver.hasEditVariable(unedited));

    // None of it disturbed the solver.
    solver.suggestValue(x, 4);
    expectValues(solved(solver, {x}), {4});
    solver.suggestValue(x, 40);
    expectValues(solved(solver, {x}), {10});
}

TEST(Solver, ConstraintsComeAndGoRepeatedly) {
    // Symbols of removed constraints and variables are handed out again; the
    // solution must stay right through many rounds.
    Variable container("container");
    Solver solver;
    solver.addConstraint(container == 1000);
    for (int round = 0; round < 50; ++round) {
        SCOPED_TRACE(round);
        Variable left("left"), width("width");
        std::vector<Constraint> constraints = {
            left >= round,
            left + width <= container,
            (width == 100 + round) | strength::strong,
            (left == 2000) | strength::weak,
        };
        for (const Constraint& constraint : constraints) {
            solver.addConstraint(constraint);
        }
        expectValues(solved(solver, {left, width}), {900.0 - round, 100.0 + round});
        for (size_t i = 0; i < constraints.size(); ++i) {
            solver.removeConstraint(constraints[(i + round) % constraints.size()]);
        }
    }
    expectValues(solved(solver, {container}), {1000});
}

TEST(Solver, SuggestionsStayRightThroughConstraintChurn) {
    // Rows that come and go leave their traces in the edit's columns; every
    // suggestion must still move each dependent variable exactly once.
    Variable width("width");
    Variable steady("steady");
    Solver solver;
    solver.addEditVariable(width, strength::strong);
    solver.addConstraint(steady == width * 2);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        Variable follower("follower");
        Constraint follows = follower == width + round;
        Constraint bounded = (follower <= 150) | strength::medium;
        solver.addConstraint(follows);
        solver.addConstraint(bounded);
        double suggestion = 100 + round % 7;
        solver.suggestValue(width, suggestion);
        expectValues(solved(solver, {width, steady, follower}),
                     {suggestion, 2 * suggestion, suggestion + round});
        solver.removeConstraint(round % 2 ? follows : bounded);
        solver.removeConstraint(round % 2 ? bounded : follows);
    }
    solver.suggestValue(width, 10);
    expectValues(solved(solver, {width, steady}), {10, 20});
}

TEST(Solver, OneConstraintServesSeveralSolvers) {
    Variable x("x");
    Constraint fixed = x == 4;
    Constraint bound = x >= 10;
    auto first = std::make_unique<Solver>();
    Solver second;
    Solver third;
    first->addConstraint(fixed);
    second.addConstraint(fixed);
    third.addConstraint(bound);
    third.addConstraint(fixed | strength::weak);
    second.addEditVariable(x, strength::weak);
    EXPECT_TRUE(first->hasConstraint(fixed));
    EXPECT_TRUE(second.hasConstraint(fixed));
    EXPECT_FALSE(third.hasConstraint(fixed));

    first->removeConstraint(fixed);
    EXPECT_FALSE(first->hasConstraint(fixed));
    EXPECT_TRUE(second.hasConstraint(fixed));
    first->addConstraint(fixed);
    // A solver that goes away leaves the others' bookkeeping whole.
    first.reset();
    EXPECT_TRUE(second.hasConstraint(fixed));
    EXPECT_TRUE(second.hasEditVariable(x));
    expectValues(solved(second, {x}), {4});
    expectValues(solved(third, {x}), {10});
    second.removeConstraint(fixed);
    second.suggestValue(x, 7);
    expectValues(solved(second, {x}), {7});
}

TEST(Solver, ResetForgetsEverything) {
    Variable x("x");
    Solver solver;
    Constraint fixed = x == 3;
    solver.addConstraint(fixed);
    solver.addEditVariable(x, strength::weak);
    solver.reset();
    EXPECT_FALSE(solver.hasConstraint(fixed));
    EXPECT_FALSE(solver.hasEditVariable(x));
    solver.addConstraint(x == 7);
    solver.addConstraint(fixed | strength::weak);
    expectValues(solved(solver, {x}), {7});
}
