#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Foundation/NSException.h>

#include "LayoutTesting.h"

namespace {

// A view of a fixed size, as arranged subviews often are.
Ref<UIView> fixedView(CGFloat width, CGFloat height) {
    Ref<UIView> view = makeConstrained();
    activate({view->widthAnchor()->constraintEqualToConstant(width),
              view->heightAnchor()->constraintEqualToConstant(height)});
    return view;
}

Ref<UIStackView> makeStack(UILayoutConstraintAxis axis, UIStackViewDistribution distribution,
                           UIStackViewAlignment alignment, CGFloat spacing) {
    Ref<UIStackView> stack = makeConstrained<UIStackView>();
    stack->setAxis(axis);
    stack->setDistribution(distribution);
    stack->setAlignment(alignment);
    stack->setSpacing(spacing);
    return stack;
}

// A stack pinned to the top left of a root, optionally given a size.
Ref<UIView> host(const Ref<UIStackView>& stack, CGFloat width = -1, CGFloat height = -1) {
    Ref<UIView> root = makeView(CGRectMake(0, 0, 500, 500));
    root->addSubview(stack);
    activate({stack->leftAnchor()->constraintEqualToAnchor(root->leftAnchor()),
              stack->topAnchor()->constraintEqualToAnchor(root->topAnchor())});
    if (width >= 0) {
        stack->widthAnchor()->constraintEqualToConstant(width)->setActive(true);
    }
    if (height >= 0) {
        stack->heightAnchor()->constraintEqualToConstant(height)->setActive(true);
    }
    return root;
}

TEST(StackView, FillGivesTheRestToTheViewWithoutASize) {
    Ref<UIStackView> stack = makeStack(UILayoutConstraintAxisHorizontal,
                                       UIStackViewDistributionFill, UIStackViewAlignmentFill, 10);
    Ref<UIView> fixed = makeConstrained();
    fixed->widthAnchor()->constraintEqualToConstant(50)->setActive(true);
    Ref<UIView> flexible = makeConstrained();
    stack->addArrangedSubview(fixed);
    stack->addArrangedSubview(flexible);
    Ref<UIView> root = host(stack, 200, 40);
    root->layoutIfNeeded();
    expectFrame(fixed, CGRectMake(0, 0, 50, 40), "fixed");
    expectFrame(flexible, CGRectMake(60, 0, 140, 40), "flexible");
}

TEST(StackView, FillEquallyAndProportionally) {
    Ref<UIStackView> equal =
        makeStack(UILayoutConstraintAxisHorizontal, UIStackViewDistributionFillEqually,
                  UIStackViewAlignmentFill, 10);
    std::vector<Ref<UIView>> views;
    for (int i = 0; i < 3; ++i) {
        views.push_back(makeConstrained());
        equal->addArrangedSubview(views.back());
    }
    Ref<UIView> root = host(equal, 320, 30);
    root->layoutIfNeeded();
    for (int i = 0; i < 3; ++i) {
        expectFrame(views[i], CGRectMake(i * 110, 0, 100, 30), "equal " + std::to_string(i));
    }

    Ref<UIStackView> proportional =
        makeStack(UILayoutConstraintAxisHorizontal, UIStackViewDistributionFillProportionally,
                  UIStackViewAlignmentFill, 0);
    const Ref<UIFont> font = UIFont::systemFontOfSize(15);
    Ref<UILabel> shortLabel = makeLabel("Hi", font);
    Ref<UILabel> longLabel = makeLabel("Hello there, world", font);
    proportional->addArrangedSubview(shortLabel);
    proportional->addArrangedSubview(longLabel);
    Ref<UIView> other = host(proportional, 400, 30);
    other->layoutIfNeeded();
    const CGFloat a = shortLabel->intrinsicContentSize().width;
    const CGFloat b = longLabel->intrinsicContentSize().width;
    EXPECT_NEAR(shortLabel->frame().size.width, 400 * a / (a + b), 1e-6);
    EXPECT_NEAR(longLabel->frame().origin.x, 400 * a / (a + b), 1e-6);
}

TEST(StackView, AlignmentPlacesViewsAcrossTheAxis) {
    struct Case {
        UIStackViewAlignment alignment;
        CGFloat x;
        CGFloat width;
    };
    const Case cases[] = {
        {UIStackViewAlignmentFill, 0, 100},
        {UIStackViewAlignmentLeading, 0, 40},
        {UIStackViewAlignmentCenter, 30, 40},
        {UIStackViewAlignmentTrailing, 60, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.alignment);
        Ref<UIStackView> stack =
            makeStack(UILayoutConstraintAxisVertical, UIStackViewDistributionFill, c.alignment, 5);
        // The stack is as wide as its widest view; the narrow one would be 40
        // wide unless filling the stack.
        Ref<UIView> wide = fixedView(100, 10);
        Ref<UILabel> narrow = makeLabel("ab", UIFont::systemFontOfSize(10));
        withPriority(narrow->widthAnchor()->constraintEqualToConstant(40), 999)->setActive(true);
        stack->addArrangedSubview(wide);
        stack->addArrangedSubview(narrow);
        Ref<UIView> root = host(stack);
        root->layoutIfNeeded();
        const CGFloat height = NSStringDrawing::lineHeightForFont(narrow->font());
        expectFrame(stack, CGRectMake(0, 0, 100, 15 + height), "stack");
        expectFrame(narrow, CGRectMake(c.x, 15, c.width, height), "narrow");
    }
}

TEST(StackView, ItSizesItselfFromItsContent) {
    for (UIStackViewDistribution distribution :
         {UIStackViewDistributionFill, UIStackViewDistributionEqualSpacing}) {
        SCOPED_TRACE(distribution);
        Ref<UIStackView> stack = makeStack(UILayoutConstraintAxisHorizontal, distribution,
                                           UIStackViewAlignmentCenter, 4);
        Ref<UIView> small = fixedView(30, 20);
        Ref<UIView> tall = fixedView(30, 50);
        stack->addArrangedSubview(small);
        stack->addArrangedSubview(tall);
        Ref<UIView> root = host(stack);
        root->layoutIfNeeded();
        expectFrame(stack, CGRectMake(0, 0, 64, 50), "stack");
        expectFrame(small, CGRectMake(0, 15, 30, 20), "small");
        expectFrame(tall, CGRectMake(34, 0, 30, 50), "tall");
    }
}

TEST(StackView, EqualCenteringSpacesTheCentres) {
    Ref<UIStackView> stack =
        makeStack(UILayoutConstraintAxisHorizontal, UIStackViewDistributionEqualCentering,
                  UIStackViewAlignmentFill, 0);
    std::vector<Ref<UIView>> views{fixedView(20, 10), fixedView(60, 10), fixedView(20, 10)};
    for (const Ref<UIView>& view : views) {
        stack->addArrangedSubview(view);
    }
    Ref<UIView> root = host(stack, 300);
    root->layoutIfNeeded();
    EXPECT_NEAR(CGRectGetMidX(views[0]->frame()), 10, 1e-6);
    EXPECT_NEAR(CGRectGetMidX(views[1]->frame()), 150, 1e-6);
    EXPECT_NEAR(CGRectGetMidX(views[2]->frame()), 290, 1e-6);
}

TEST(StackView, FirstBaselinesLineUp) {
    Ref<UIStackView> stack =
        makeStack(UILayoutConstraintAxisHorizontal, UIStackViewDistributionFill,
                  UIStackViewAlignmentFirstBaseline, 8);
    Ref<UILabel> small = makeLabel("small", UIFont::systemFontOfSize(12));
    Ref<UILabel> large = makeLabel("Large", UIFont::boldSystemFontOfSize(30));
    stack->addArrangedSubview(small);
    stack->addArrangedSubview(large);
    Ref<UIView> root = host(stack);
    root->layoutIfNeeded();
    const CGFloat smallBaseline =
        small->frame().origin.y + NSStringDrawing::ascenderForFont(small->font());
    const CGFloat largeBaseline =
        large->frame().origin.y + NSStringDrawing::ascenderForFont(large->font());
    EXPECT_NEAR(smallBaseline, largeBaseline, 1e-6);
    EXPECT_NEAR(large->frame().origin.y, 0, 1e-6);
    EXPECT_NEAR(stack->frame().size.height, large->frame().size.height, 1e-6);
}

TEST(StackView, HiddenViewsTakeNoRoom) {
    Ref<UIStackView> stack = makeStack(UILayoutConstraintAxisHorizontal,
                                       UIStackViewDistributionFill, UIStackViewAlignmentFill, 5);
    Ref<UIView> a = fixedView(10, 10);
    // A width just below required, so that hiding may take it away.
    Ref<UIView> b = makeConstrained();
    withPriority(b->widthAnchor()->constraintEqualToConstant(20), 999)->setActive(true);
    Ref<UIView> c = fixedView(30, 10);
    for (const Ref<UIView>& view : {a, b, c}) {
        stack->addArrangedSubview(view);
    }
    Ref<UIView> root = host(stack);
    root->layoutIfNeeded();
    EXPECT_EQ(stack->frame().size.width, 70);
    b->setHidden(true);
    root->layoutIfNeeded();
    EXPECT_EQ(stack->frame().size.width, 45);
    EXPECT_EQ(c->frame().origin.x, 15);
    b->setHidden(false);
    root->layoutIfNeeded();
    EXPECT_EQ(c->frame().origin.x, 40);
}

TEST(StackView, ArrangedSubviewsComeAndGo) {
    Ref<UIStackView> stack = makeStack(UILayoutConstraintAxisHorizontal,
                                       UIStackViewDistributionFill, UIStackViewAlignmentFill, 0);
    Ref<UIView> a = fixedView(10, 10);
    Ref<UIView> b = fixedView(20, 10);
    Ref<UIView> c = fixedView(30, 10);
    stack->addArrangedSubview(a);
    stack->addArrangedSubview(c);
    stack->insertArrangedSubview(b, 1);
    EXPECT_EQ(stack->arrangedSubviews(), (std::vector<Ref<UIView>>{a, b, c}));
    EXPECT_FALSE(b->translatesAutoresizingMaskIntoConstraints());
    EXPECT_THROW(stack->insertArrangedSubview(fixedView(1, 1), 4), NSException);
    Ref<UIView> root = host(stack);
    root->layoutIfNeeded();
    EXPECT_EQ(c->frame().origin.x, 30);

    // Removed from the arrangement, a view stays a subview but no longer counts.
    stack->removeArrangedSubview(b);
    EXPECT_EQ(b->superview(), stack);
    root->layoutIfNeeded();
    EXPECT_EQ(c->frame().origin.x, 10);
    // Removed from the stack, it leaves the arrangement too.
    c->removeFromSuperview();
    EXPECT_EQ(stack->arrangedSubviews(), (std::vector<Ref<UIView>>{a}));
    root->layoutIfNeeded();
    EXPECT_EQ(stack->frame().size.width, 10);
}

TEST(StackView, RebuildingDoesNotPileUpConstraints) {
    Ref<UIStackView> stack =
        makeStack(UILayoutConstraintAxisHorizontal, UIStackViewDistributionEqualSpacing,
                  UIStackViewAlignmentCenter, 5);
    for (int i = 0; i < 4; ++i) {
        stack->addArrangedSubview(fixedView(20, 20));
    }
    Ref<UIView> root = host(stack);
    root->layoutIfNeeded();
    const UILayoutEngine* engine = root->layoutEngine();
    const size_t constraints = engine->constraintCount();
    const size_t rows = engine->solverRowCount();
    const size_t held = stack->constraints().size();
    for (int i = 0; i < 20; ++i) {
        stack->setSpacing(i % 2 ? 5 : 8);
        root->layoutIfNeeded();
    }
    EXPECT_EQ(stack->frame().size.width, 4 * 20 + 3 * 5);
    EXPECT_EQ(engine->constraintCount(), constraints);
    EXPECT_EQ(engine->solverRowCount(), rows);
    EXPECT_EQ(stack->constraints().size(), held);
}

} // namespace
