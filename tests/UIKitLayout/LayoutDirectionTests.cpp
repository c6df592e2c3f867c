#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Foundation/NSLocale.h>
#include <UIKit/UIApplication.h>

#include "LayoutTesting.h"

namespace {

// The device's language for one test, English again after it.
class RightToLeft : public testing::Test {
protected:
    void SetUp() override { NSLocale::setPreferredLanguages({"ar"}); }
    void TearDown() override { NSLocale::setPreferredLanguages({}); }
};

TEST_F(RightToLeft, LeadingAndTrailingMirrorLeftAndRightDoNot) {
    using Make = std::function<std::vector<Ref<NSLayoutConstraint>>(UIView&, UIView&, UIView&)>;
    struct Case {
        const char* name;
        Make constraints;
        CGFloat x, width;
    };
    // Each places `view` in a 300-point root beside `other`, at 200..250 (right to left).
    const Case cases[] = {
        {"leading inset",
         [](UIView& root, UIView& view, UIView&) {
             return std::vector{
                 view.leadingAnchor()->constraintEqualToAnchor(root.leadingAnchor(), 10),
                 view.widthAnchor()->constraintEqualToConstant(40)};
         },
         250, 40},
        {"trailing inset",
         [](UIView& root, UIView& view, UIView&) {
             return std::vector{
                 view.trailingAnchor()->constraintEqualToAnchor(root.trailingAnchor(), -10),
                 view.widthAnchor()->constraintEqualToConstant(40)};
         },
         10, 40},
        {"after a sibling",
         [](UIView&, UIView& view, UIView& other) {
             return std::vector{
                 view.leadingAnchor()->constraintEqualToAnchor(other.trailingAnchor(), 8),
                 view.widthAnchor()->constraintEqualToConstant(20)};
         },
         172, 20},
        {"at least after a sibling",
         [](UIView& root, UIView& view, UIView& other) {
             return std::vector{
                 view.leadingAnchor()->constraintGreaterThanOrEqualToAnchor(other.trailingAnchor(),
                                                                            8),
                 view.leftAnchor()->constraintEqualToAnchor(root.leftAnchor()),
                 withPriority(view.widthAnchor()->constraintEqualToConstant(300), 500)};
         },
         0, 192},
        {"leading from the centre",
         [](UIView& root, UIView& view, UIView&) {
             return std::vector{
                 view.leadingAnchor()->constraintEqualToAnchor(root.centerXAnchor(), 30),
                 view.widthAnchor()->constraintEqualToConstant(20)};
         },
         100, 20},
        {"left stays left",
         [](UIView& root, UIView& view, UIView&) {
             return std::vector{view.leftAnchor()->constraintEqualToAnchor(root.leftAnchor(), 10),
                                view.widthAnchor()->constraintEqualToConstant(40)};
         },
         10, 40},
    };
    for (const Case& c : cases) {
        Ref<UIView> root = makeView(CGRectMake(0, 0, 300, 100));
        Ref<UIView> other = makeConstrained();
        Ref<UIView> view = makeConstrained();
        root->addSubview(other);
        root->addSubview(view);
        activate({other->leadingAnchor()->constraintEqualToAnchor(root->leadingAnchor(), 50),
                  other->widthAnchor()->constraintEqualToConstant(50),
                  other->topAnchor()->constraintEqualToAnchor(root->topAnchor()),
                  other->heightAnchor()->constraintEqualToConstant(10),
                  view->topAnchor()->constraintEqualToAnchor(root->topAnchor()),
                  view->heightAnchor()->constraintEqualToConstant(10)});
        activate(c.constraints(*root, *view, *other));
        root->layoutIfNeeded();
        expectFrame(other, CGRectMake(200, 0, 50, 10), std::string(c.name) + ": the sibling");
        expectFrame(view, CGRectMake(c.x, 0, c.width, 10), c.name);
    }
}

TEST_F(RightToLeft, SemanticContentDecidesEachViewsDirection) {
    struct Case {
        UISemanticContentAttribute parent, child;
        UIUserInterfaceLayoutDirection expected;
    };
    const Case cases[] = {
        {UISemanticContentAttributeUnspecified, UISemanticContentAttributeUnspecified,
         UIUserInterfaceLayoutDirectionRightToLeft},
        {UISemanticContentAttributeForceLeftToRight, UISemanticContentAttributeUnspecified,
         UIUserInterfaceLayoutDirectionLeftToRight},
        {UISemanticContentAttributeForceLeftToRight, UISemanticContentAttributeForceRightToLeft,
         UIUserInterfaceLayoutDirectionRightToLeft},
        {UISemanticContentAttributeUnspecified, UISemanticContentAttributePlayback,
         UIUserInterfaceLayoutDirectionLeftToRight},
        {UISemanticContentAttributeUnspecified, UISemanticContentAttributeSpatial,
         UIUserInterfaceLayoutDirectionLeftToRight},
    };
    for (const Case& c : cases) {
        Ref<UIView> root = makeView(CGRectMake(0, 0, 300, 100));
        Ref<UIView> child = makeConstrained();
        root->addSubview(child);
        activate({child->leadingAnchor()->constraintEqualToAnchor(root->leadingAnchor(), 10),
                  child->widthAnchor()->constraintEqualToConstant(40),
                  child->topAnchor()->constraintEqualToAnchor(root->topAnchor()),
                  child->heightAnchor()->constraintEqualToConstant(10)});
        // Set after the constraints are active: they follow.
        root->setSemanticContentAttribute(c.parent);
        child->setSemanticContentAttribute(c.child);
        root->layoutIfNeeded();
        EXPECT_EQ(child->effectiveUserInterfaceLayoutDirection(), c.expected)
            << c.parent << c.child;
        const CGFloat x = c.expected == UIUserInterfaceLayoutDirectionRightToLeft ? 250 : 10;
        expectFrame(child, CGRectMake(x, 0, 40, 10), "child");
    }
    NSLocale::setPreferredLanguages({"he", "en"});
    EXPECT_EQ(UIApplication::sharedApplication()->userInterfaceLayoutDirection(),
              UIUserInterfaceLayoutDirectionRightToLeft);
    NSLocale::setPreferredLanguages({"en", "ar"});
    EXPECT_EQ(UIApplication::sharedApplication()->userInterfaceLayoutDirection(),
              UIUserInterfaceLayoutDirectionLeftToRight);
}

TEST_F(RightToLeft, StacksArrangeFromTheRight) {
    Ref<UIStackView> stack = makeConstrained<UIStackView>();
    stack->setSpacing(10);
    Ref<UIView> root = makeView(CGRectMake(0, 0, 300, 100));
    root->addSubview(stack);
    std::vector<Ref<UIView>> views;
    for (CGFloat width : {40.0, 60.0}) {
        views.push_back(makeConstrained());
        activate({views.back()->widthAnchor()->constraintEqualToConstant(width),
                  views.back()->heightAnchor()->constraintEqualToConstant(20)});
        stack->addArrangedSubview(views.back());
    }
    activate({stack->trailingAnchor()->constraintEqualToAnchor(root->trailingAnchor(), -16),
              stack->topAnchor()->constraintEqualToAnchor(root->topAnchor())});
    root->layoutIfNeeded();
    expectFrame(stack, CGRectMake(16, 0, 110, 20), "stack");
    expectFrame(views[0], CGRectMake(70, 0, 40, 20), "first");
    expectFrame(views[1], CGRectMake(0, 0, 60, 20), "second");
}

} // namespace
