#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include <Foundation/NSException.h>

#include "LayoutTesting.h"

namespace {

class ConstraintEngine : public testing::Test {
protected:
    void SetUp() override { SDKEventLog::clear(); }
};

TEST_F(ConstraintEngine, ActivationAddsAndDeactivationRemoves) {
    Ref<UIView> root = makeView(CGRectMake(0, 0, 200, 100));
    Ref<UIView> child = makeConstrained();
    root->addSubview(child);
    EXPECT_EQ(root->layoutEngine(), nullptr);

    Ref<NSLayoutConstraint> width = child->widthAnchor()->constraintEqualToConstant(40);
    Ref<NSLayoutConstraint> left =
        child->leftAnchor()->constraintEqualToAnchor(root->leftAnchor(), 7);
    NSLayoutConstraint::activateConstraints({width, left});
    EXPECT_TRUE(width->isActive());
    // Each is held by its items' nearest common ancestor.
    EXPECT_EQ(child->constraints().size(), 1u);
    EXPECT_EQ(root->constraints().size(), 1u);
    ASSERT_NE(root->layoutEngine(), nullptr);
    EXPECT_EQ(child->layoutEngine(), root->layoutEngine());
    root->layoutIfNeeded();
    EXPECT_EQ(child->frame().origin.x, 7);
    EXPECT_EQ(child->frame().size.width, 40);

    width->setConstant(55);
    root->layoutIfNeeded();
    EXPECT_EQ(child->frame().size.width, 55);

    NSLayoutConstraint::deactivateConstraints({width, left});
    EXPECT_FALSE(left->isActive());
    EXPECT_TRUE(child->constraints().empty());
    EXPECT_TRUE(root->constraints().empty());
    EXPECT_EQ(root->layoutEngine()->constraintCount(), 0u);
    root->layoutIfNeeded();
    EXPECT_EQ(root->layoutEngine()->solverRowCount(), 0u);
    EXPECT_EQ(root->layoutEngine()->viewCount(), 0u);

    // Deactivated constraints can be activated again.
    left->setActive(true);
    width->setActive(true);
    root->layoutIfNeeded();
    EXPECT_EQ(child->frame(), CGRectMake(7, 0, 55, 0));
}

TEST_F(ConstraintEngine, ItemsWithoutACommonAncestorAreLoggedAndLeftInactive) {
    Ref<UIView> first = makeView(CGRectZero);
    Ref<UIView> second = makeView(CGRectZero);
    Ref<NSLayoutConstraint> constraint =
        first->leftAnchor()->constraintEqualToAnchor(second->leftAnchor());
    constraint->setActive(true);
    EXPECT_FALSE(constraint->isActive());
    EXPECT_EQ(first->layoutEngine(), nullptr);
    const std::vector<std::string> errors = errorMessages();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("no common ancestor"), std::string::npos);
}

TEST_F(ConstraintEngine, AttributesThatCannotBeRelatedRaise) {
    Ref<UIView> a = makeView(CGRectZero);
    Ref<UIView> b = makeView(CGRectZero);
    a->addSubview(b);
    struct Pairing {
        NSLayoutAttribute first;
        Ref<UIView> second;
        NSLayoutAttribute secondAttribute;
    };
    const Pairing invalid[] = {
        {NSLayoutAttributeLeft, b, NSLayoutAttributeTop},
        {NSLayoutAttributeWidth, b, NSLayoutAttributeLeft},
        {NSLayoutAttributeLeading, b, NSLayoutAttributeRight},
        {NSLayoutAttributeCenterY, nullptr, NSLayoutAttributeNotAnAttribute},
        {NSLayoutAttributeWidth, b, NSLayoutAttributeNotAnAttribute},
    };
    for (const Pairing& pairing : invalid) {
        EXPECT_THROW(alloc<NSLayoutConstraint>()->initWithItem(
                         a, pairing.first, NSLayoutRelationEqual, pairing.second,
                         pairing.secondAttribute, 1, 0),
                     NSException);
    }
    Ref<NSLayoutConstraint> required = b->widthAnchor()->constraintEqualToConstant(1);
    required->setActive(true);
    EXPECT_THROW(required->setPriority(UILayoutPriorityDefaultHigh), NSException);
    EXPECT_THROW(required->setPriority(0), NSException);
}

TEST_F(ConstraintEngine, HigherPrioritiesWinAndChangingThemTradesOff) {
    Ref<UIView> root = makeView(CGRectMake(0, 0, 300, 100));
    Ref<UIView> child = makeConstrained();
    root->addSubview(child);
    Ref<NSLayoutConstraint> narrow =
        withPriority(child->widthAnchor()->constraintEqualToConstant(100), 500);
    Ref<NSLayoutConstraint> wide =
        withPriority(child->widthAnchor()->constraintEqualToConstant(200), 750);
    // A required bound caps both.
    Ref<NSLayoutConstraint> cap = child->widthAnchor()->constraintLessThanOrEqualToConstant(180);
    activate({narrow, wide});
    root->layoutIfNeeded();
    EXPECT_EQ(child->frame().size.width, 200);

    wide->setPriority(250);
    root->layoutIfNeeded();
    EXPECT_EQ(child->frame().size.width, 100);

    wide->setPriority(999);
    cap->setActive(true);
    root->layoutIfNeeded();
    EXPECT_EQ(child->frame().size.width, 180);
}

TEST_F(ConstraintEngine, AutoresizingViewsAreHeldAtTheirFramesWhileTheyTakePart) {
    Ref<UIView> root = makeView(CGRectMake(0, 0, 300, 100));
    Ref<UIView> held = makeView(CGRectMake(10, 20, 30, 40));
    Ref<UIView> follower = makeConstrained();
    root->addSubview(held);
    root->addSubview(follower);
    // A tree without constraints has no engine and its frames stay as set.
    root->layoutIfNeeded();
    EXPECT_EQ(root->layoutEngine(), nullptr);
    EXPECT_EQ(held->frame(), CGRectMake(10, 20, 30, 40));

    activate({follower->leftAnchor()->constraintEqualToAnchor(held->rightAnchor(), 5),
              follower->topAnchor()->constraintEqualToAnchor(held->bottomAnchor()),
              follower->widthAnchor()->constraintEqualToAnchor(held->widthAnchor()),
              follower->heightAnchor()->constraintEqualToConstant(10)});
    root->layoutIfNeeded();
    EXPECT_EQ(held->frame(), CGRectMake(10, 20, 30, 40));
    EXPECT_EQ(follower->frame(), CGRectMake(45, 60, 30, 10));

    // Moving the held view moves what follows it.
    held->setFrame(CGRectMake(0, 0, 50, 10));
    root->layoutIfNeeded();
    EXPECT_EQ(follower->frame(), CGRectMake(55, 10, 50, 10));

    // Turned off, the view is placed by constraints instead of held.
    held->setTranslatesAutoresizingMaskIntoConstraints(false);
    held->leftAnchor()->constraintEqualToAnchor(root->leftAnchor(), 100)->setActive(true);
    root->layoutIfNeeded();
    EXPECT_EQ(held->frame().origin.x, 100);
    EXPECT_EQ(follower->frame().origin.x, 100 + held->frame().size.width + 5);
}

TEST_F(ConstraintEngine, ResizingTheSuperviewSolvesAgain) {
    Ref<UIView> root = makeView(CGRectMake(0, 0, 400, 400));
    Ref<UIView> cell = makeView(CGRectMake(0, 100, 320, 44));
    Ref<UIView> badge = makeConstrained();
    root->addSubview(cell);
    cell->addSubview(badge);
    activate({badge->rightAnchor()->constraintEqualToAnchor(cell->rightAnchor(), -15),
              badge->centerYAnchor()->constraintEqualToAnchor(cell->centerYAnchor()),
              badge->widthAnchor()->constraintEqualToConstant(20),
              badge->heightAnchor()->constraintEqualToConstant(20)});
    root->layoutIfNeeded();
    EXPECT_EQ(badge->frame(), CGRectMake(285, 12, 20, 20));
    cell->setFrame(CGRectMake(0, 100, 375, 60));
    root->layoutIfNeeded();
    EXPECT_EQ(badge->frame(), CGRectMake(340, 20, 20, 20));
}

TEST_F(ConstraintEngine, ConstraintsTravelWithTheirSubtree) {
    // Built apart, then added: its constraints join the window's engine.
    Ref<UIView> row = makeView(CGRectMake(0, 50, 320, 44));
    Ref<UIView> dot = makeConstrained();
    row->addSubview(dot);
    activate({dot->centerXAnchor()->constraintEqualToAnchor(row->centerXAnchor()),
              dot->widthAnchor()->constraintEqualToConstant(10),
              dot->heightAnchor()->constraintEqualToAnchor(row->heightAnchor())});
    Ref<UIView> window = makeView(CGRectMake(0, 0, 320, 480));
    Ref<UIView> marker = makeConstrained();
    window->addSubview(marker);
    marker->widthAnchor()->constraintEqualToConstant(3)->setActive(true);
    window->addSubview(row);
    ASSERT_NE(window->layoutEngine(), nullptr);
    EXPECT_EQ(window->layoutEngine()->constraintCount(), 4u);
    // One reaching out of the row ends when the row leaves.
    Ref<NSLayoutConstraint> outward =
        marker->topAnchor()->constraintEqualToAnchor(dot->bottomAnchor());
    outward->setActive(true);
    window->layoutIfNeeded();
    EXPECT_EQ(dot->frame(), CGRectMake(155, 0, 10, 44));
    EXPECT_EQ(marker->frame().origin.y, 94);

    row->removeFromSuperview();
    EXPECT_FALSE(outward->isActive());
    EXPECT_EQ(window->layoutEngine()->constraintCount(), 1u);
    ASSERT_NE(row->layoutEngine(), nullptr);
    EXPECT_EQ(row->layoutEngine()->constraintCount(), 3u);
    row->setFrame(CGRectMake(0, 0, 100, 20));
    row->layoutIfNeeded();
    EXPECT_EQ(dot->frame(), CGRectMake(45, 0, 10, 20));

    // Into another tree, and laid out there.
    Ref<UIView> other = makeView(CGRectMake(0, 0, 500, 500));
    other->addSubview(row);
    row->setFrame(CGRectMake(0, 0, 200, 30));
    other->layoutIfNeeded();
    EXPECT_EQ(row->layoutEngine(), other->layoutEngine());
    EXPECT_EQ(dot->frame(), CGRectMake(95, 0, 10, 30));
}

TEST_F(ConstraintEngine, ASubviewOutlivingItsTreeKeepsItsConstraints) {
    Ref<UIView> inner = makeView(CGRectMake(0, 0, 100, 100));
    Ref<UIView> leaf = makeConstrained();
    {
        Ref<UIView> root = makeView(CGRectMake(0, 0, 300, 300));
        root->addSubview(inner);
        inner->addSubview(leaf);
        activate({leaf->widthAnchor()->constraintEqualToAnchorMultiplier(inner->widthAnchor(), 0.5),
                  leaf->heightAnchor()->constraintEqualToConstant(10)});
        root->layoutIfNeeded();
    }
    EXPECT_EQ(inner->superview(), nullptr);
    ASSERT_NE(inner->layoutEngine(), nullptr);
    inner->setFrame(CGRectMake(0, 0, 60, 60));
    inner->layoutIfNeeded();
    EXPECT_EQ(leaf->frame().size, CGSizeMake(30, 10));
}

TEST_F(ConstraintEngine, ConflictingRequiredConstraintsBreakTheLaterOneAndSayWhich) {
    Ref<UIView> root = makeView(CGRectMake(0, 0, 300, 100));
    Ref<UIView> child = makeConstrained();
    root->addSubview(child);
    Ref<NSLayoutConstraint> left = child->leftAnchor()->constraintEqualToAnchor(root->leftAnchor());
    Ref<NSLayoutConstraint> right =
        child->rightAnchor()->constraintEqualToAnchor(root->rightAnchor());
    Ref<NSLayoutConstraint> fixed = child->widthAnchor()->constraintEqualToConstant(100);
    Ref<NSLayoutConstraint> unrelated = child->heightAnchor()->constraintEqualToConstant(5);
    activate({left, right, unrelated, fixed});
    root->layoutIfNeeded();

    // The root is 300 wide: the width the child was given last cannot hold.
    EXPECT_EQ(child->frame(), CGRectMake(0, 0, 300, 5));
    EXPECT_TRUE(fixed->isActive());
    const std::vector<std::string> errors = errorMessages();
    ASSERT_EQ(errors.size(), 1u);
    const std::string& message = errors[0];
    EXPECT_EQ(message.rfind("Unable to simultaneously satisfy constraints", 0), 0u);
    EXPECT_NE(message.find(fixed->description()), std::string::npos);
    EXPECT_NE(message.find(left->description()), std::string::npos);
    EXPECT_NE(message.find(right->description()), std::string::npos);
    EXPECT_NE(message.find("NSAutoresizingMaskLayoutConstraint"), std::string::npos);
    EXPECT_EQ(message.find(unrelated->description()), std::string::npos);

    // Passes after that report nothing new; once the conflict is gone the broken one holds.
    root->setNeedsLayout();
    root->layoutIfNeeded();
    EXPECT_EQ(errorMessages().size(), 1u);
    right->setActive(false);
    root->layoutIfNeeded();
    EXPECT_EQ(child->frame().size.width, 100);
}

TEST_F(ConstraintEngine, APageFullOfConflictsStillLaysOut) {
    Ref<UIView> page = makeView(CGRectMake(0, 0, 320, 4000));
    std::vector<Ref<UIView>> children;
    for (int i = 0; i < 100; ++i) {
        Ref<UIView> row = makeView(CGRectMake(0, 40 * i, 320, 40));
        Ref<UIView> child = makeConstrained();
        row->addSubview(child);
        activate({child->widthAnchor()->constraintEqualToConstant(100),
                  child->widthAnchor()->constraintEqualToAnchor(row->widthAnchor()),
                  child->heightAnchor()->constraintEqualToConstant(10)});
        page->addSubview(row);
        children.push_back(child);
    }
    page->layoutIfNeeded();
    EXPECT_EQ(errorMessages().size(), 100u);
    for (const Ref<UIView>& child : children) {
        EXPECT_EQ(child->frame().size, CGSizeMake(100, 10));
    }
}

TEST_F(ConstraintEngine, IdenticalConstraintsShareOneSolverRow) {
    Ref<UIView> root = makeView(CGRectMake(0, 0, 300, 100));
    Ref<UIView> child = makeConstrained();
    root->addSubview(child);
    Ref<NSLayoutConstraint> first = child->widthAnchor()->constraintEqualToConstant(40);
    Ref<NSLayoutConstraint> second = child->widthAnchor()->constraintEqualToConstant(40);
    activate({first, second});
    root->layoutIfNeeded();
    const UILayoutEngine* engine = root->layoutEngine();
    EXPECT_EQ(engine->constraintCount(), 1u);
    EXPECT_EQ(engine->solverRowCount(), 1u);
    EXPECT_EQ(child->constraints().size(), 2u);

    // Either one keeps the width while active.
    first->setActive(false);
    root->layoutIfNeeded();
    EXPECT_EQ(engine->solverRowCount(), 1u);
    EXPECT_EQ(child->frame().size.width, 40);
    second->setActive(false);
    root->layoutIfNeeded();
    EXPECT_EQ(engine->solverRowCount(), 0u);
}

} // namespace
