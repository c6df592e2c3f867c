#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Cassowary/Cassowary.h>

using namespace cassowary;

namespace {

// A view's horizontal and vertical edges, as layout constraints see them.
struct Box {
    explicit Box(const std::string& name)
        : left(name + ".left"), top(name + ".top"), width(name + ".width"),
          height(name + ".height") {}
    Variable left, top, width, height;
    Expression right() const { return left + width; }
    Expression bottom() const { return top + height; }
    Expression centerX() const { return left + width / 2; }
    Expression centerY() const { return top + height / 2; }
};

struct Frame {
    double left, top, width, height;
};

struct LayoutCase {
    std::string name;
    // Views after the container; the builder adds their constraints.
    size_t views;
    std::function<void(Solver&, const Box& container, const std::vector<Box>& views)> build;
    std::vector<Frame> expected;
};

void fixContainer(Solver& solver, const Box& container, double width, double height) {
    solver.addConstraint(container.left == 0);
    solver.addConstraint(container.top == 0);
    solver.addConstraint(container.width == width);
    solver.addConstraint(container.height == height);
}

void expectFrames(const std::vector<Box>& views, const std::vector<Frame>& expected) {
    ASSERT_EQ(views.size(), expected.size());
    for (size_t i = 0; i < views.size(); ++i) {
        SCOPED_TRACE("view " + std::to_string(i));
        EXPECT_NEAR(views[i].left.value(), expected[i].left, 1e-6);
        EXPECT_NEAR(views[i].top.value(), expected[i].top, 1e-6);
        EXPECT_NEAR(views[i].width.value(), expected[i].width, 1e-6);
        EXPECT_NEAR(views[i].height.value(), expected[i].height, 1e-6);
    }
}

std::vector<Box> makeViews(size_t count) {
    std::vector<Box> views;
    for (size_t i = 0; i < count; ++i) {
        views.emplace_back("view" + std::to_string(i));
    }
    return views;
}

const double kHugging = strength::fromPriority(250);
const double kCompression = strength::fromPriority(750);

// A label's natural width as hugging and compression resistance.
void natural(Solver& solver, const Box& view, double width) {
    solver.addConstraint((view.width <= width) | kHugging);
    solver.addConstraint((view.width >= width) | kCompression);
}

} // namespace

TEST(Layout, SolvesRowsAndCentring) {
    const std::vector<LayoutCase> cases = {
        {"three fixed views in a row",
         3,
         [](Solver& solver, const Box& c, const std::vector<Box>& v) {
             fixContainer(solver, c, 320, 44);
             const double widths[] = {50, 60, 70};
             for (size_t i = 0; i < 3; ++i) {
                 solver.addConstraint(v[i].width == widths[i]);
                 solver.addConstraint(v[i].height == 30);
                 solver.addConstraint(v[i].centerY() == c.centerY());
             }
             solver.addConstraint(v[0].left == c.left + 10);
             solver.addConstraint(v[1].left == v[0].right() + 8);
             solver.addConstraint(v[2].left == v[1].right() + 8);
         },
         {{10, 7, 50, 30}, {68, 7, 60, 30}, {136, 7, 70, 30}}},
        {"centred in the container",
         1,
         [](Solver& solver, const Box& c, const std::vector<Box>& v) {
             fixContainer(solver, c, 320, 200);
             solver.addConstraint(v[0].centerX() == c.centerX());
             solver.addConstraint(v[0].centerY() == c.centerY());
             solver.addConstraint(v[0].width == 100);
             solver.addConstraint(v[0].height == 80);
         },
         {{110, 60, 100, 80}}},
        {"a slider fills between title and value",
         3,
         [](Solver& solver, const Box& c, const std::vector<Box>& v) {
             const Box& title = v[0];
             const Box& slider = v[1];
             const Box& value = v[2];
             fixContainer(solver, c, 320, 45);
             for (const Box& view : v) {
                 solver.addConstraint(view.centerY() == c.centerY());
                 solver.addConstraint(view.height == 45);
             }
             solver.addConstraint(title.left == c.left + 15);
             natural(solver, title, 40);
             solver.addConstraint(value.right() == c.right() - 15);
             solver.addConstraint(value.width == 30);
             solver.addConstraint(slider.left == title.right() + 5);
             solver.addConstraint(slider.right() == value.left - 5);
         },
         {{15, 0, 40, 45}, {60, 0, 210, 45}, {275, 0, 30, 45}}},
        {"equal spacing between fixed views",
         3,
         [](Solver& solver, const Box& c, const std::vector<Box>& v) {
             fixContainer(solver, c, 320, 30);
             const double widths[] = {50, 60, 70};
             for (size_t i = 0; i < 3; ++i) {
                 solver.addConstraint(v[i].width == widths[i]);
                 solver.addConstraint(v[i].top == c.top);
                 solver.addConstraint(v[i].bottom() == c.bottom());
             }
             solver.addConstraint(v[0].left == c.left);
             solver.addConstraint(v[2].right() == c.right());
             solver.addConstraint(v[1].left - v[0].right() == v[2].left - v[1].right());
         },
         {{0, 0, 50, 30}, {120, 0, 60, 30}, {250, 0, 70, 30}}},
        {"compression resistance beats hugging when squeezed",
         2,
         [](Solver& solver, const Box& c, const std::vector<Box>& v) {
             // Two labels side by side in 150 points: the one that hugs less
             // (priority 200) grows, the other keeps its 60.
             fixContainer(solver, c, 150, 20);
             for (const Box& view : v) {
                 solver.addConstraint(view.top == 0);
                 solver.addConstraint(view.height == 20);
             }
             solver.addConstraint(v[0].left == c.left);
             solver.addConstraint(v[1].left == v[0].right());
             solver.addConstraint(v[1].right() == c.right());
             natural(solver, v[0], 60);
             solver.addConstraint((v[1].width <= 50) | strength::fromPriority(200));
             solver.addConstraint((v[1].width >= 50) | kCompression);
         },
         {{0, 0, 60, 20}, {60, 0, 90, 20}}},
        {"squeezed below natural widths, the weaker resistance yields",
         2,
         [](Solver& solver, const Box& c, const std::vector<Box>& v) {
             fixContainer(solver, c, 100, 20);
             for (const Box& view : v) {
                 solver.addConstraint(view.top == 0);
                 solver.addConstraint(view.height == 20);
             }
             solver.addConstraint(v[0].left == c.left);
             solver.addConstraint(v[1].left == v[0].right());
             solver.addConstraint(v[1].right() == c.right());
             natural(solver, v[0], 60);
             solver.addConstraint((v[1].width <= 50) | kHugging);
             solver.addConstraint((v[1].width >= 50) | strength::fromPriority(700));
         },
         {{0, 0, 60, 20}, {60, 0, 40, 20}}},
    };
    for (const LayoutCase& test : cases) {
        SCOPED_TRACE(test.name);
        Solver solver;
        Box container("container");
        std::vector<Box> views = makeViews(test.views);
        test.build(solver, container, views);
        solver.updateVariables();
        expectFrames(views, test.expected);
    }
}

TEST(Layout, ContainerResizeReflowsThroughAnEditVariable) {
    // A stretchy view between two fixed ones, in a container whose width is edited.
    Solver solver;
    Box container("container");
    std::vector<Box> views = makeViews(3);
    solver.addConstraint(container.left == 0);
    solver.addConstraint(container.top == 0);
    solver.addConstraint(container.height == 44);
    solver.addEditVariable(container.width, strength::strong);
    for (const Box& view : views) {
        solver.addConstraint(view.top == 0);
        solver.addConstraint(view.height == 44);
    }
    solver.addConstraint(views[0].left == container.left + 8);
    solver.addConstraint(views[0].width == 40);
    solver.addConstraint(views[1].left == views[0].right() + 8);
    solver.addConstraint(views[2].left == views[1].right() + 8);
    solver.addConstraint(views[2].width == 40);
    solver.addConstraint(views[2].right() == container.right() - 8);
    // The middle view shrinks to nothing, never below.
    solver.addConstraint(views[1].width >= 0);

    const struct {
        double width;
        double container;
        double middle;
    } steps[] = {{320, 320, 208}, {480, 480, 368}, {100, 112, 0}, {136, 136, 24}, {50, 112, 0}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.width);
        solver.suggestValue(container.width, step.width);
        solver.updateVariables();
        EXPECT_NEAR(container.width.value(), step.container, 1e-6);
        expectFrames(views,
                     {{8, 0, 40, 44}, {56, 0, step.middle, 44}, {64 + step.middle, 0, 40, 44}});
    }
}

TEST(Layout, ConflictingRequiredWidthIsReportedAndTheLayoutKept) {
    Solver solver;
    Box container("container");
    std::vector<Box> views = makeViews(1);
    fixContainer(solver, container, 320, 44);
    solver.addConstraint(views[0].left == container.left);
    solver.addConstraint(views[0].right() <= container.right());
    solver.addConstraint(views[0].top == 0);
    solver.addConstraint(views[0].height == 44);
    solver.addConstraint((views[0].width == 200) | strength::medium);
    Constraint tooWide = views[0].width == 400;
    EXPECT_THROW(solver.addConstraint(tooWide), UnsatisfiableConstraint);
    // The same request as a preference is fine and gets as close as it can.
    solver.addConstraint(tooWide | strength::strong);
    solver.updateVariables();
    expectFrames(views, {{0, 0, 320, 44}});
}
