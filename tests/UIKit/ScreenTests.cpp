#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include <UIKit/SDKMainThreadChecker.h>
#include <UIKit/UIKit.h>

namespace {

TEST(Screen, TheMainScreenIsTheHostsChoiceElseTheStandardOne) {
    const Ref<UIScreen> standard = UIScreen::standardScreen();
    EXPECT_GT(standard->bounds().size.width, 0);
    EXPECT_GT(standard->bounds().size.height, standard->bounds().size.width);
    EXPECT_EQ(standard->scale(), 3);
    EXPECT_EQ(UIScreen::mainScreen(), standard);

    UIScreen::setMainScreen(alloc<UIScreen>()->initWithBounds(CGRectMake(0, 0, 500, 700), 2));
    EXPECT_EQ(UIScreen::mainScreen()->bounds(), CGRectMake(0, 0, 500, 700));
    // A controller's view fills the screen in use.
    EXPECT_EQ(alloc<UIViewController>()->init()->view()->frame(), CGRectMake(0, 0, 500, 700));
    UIScreen::setMainScreen(nullptr);
    EXPECT_EQ(UIScreen::mainScreen(), standard);
}

TEST(MainThreadChecker, ReportsUIKitCalledFromAnotherThread) {
    Ref<UIView> made = alloc<UIView>()->init();
    std::vector<std::string> reports;
    SDKMainThreadChecker::Reporter previous = SDKMainThreadChecker::setReporter(
        [&](const std::string& report) { reports.push_back(report); });
    const size_t before = SDKMainThreadChecker::reportCount();
    std::thread([&] {
        Ref<UILabel> label = alloc<UILabel>()->init();
        made->setHidden(true);
    }).join();
    // The main thread is quiet.
    made->setHidden(false);
    SDKMainThreadChecker::setReporter(previous);

    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(SDKMainThreadChecker::reportCount(), before + 2);
    const std::string prefix = "Main Thread Checker: UI API called on a background thread: ";
    EXPECT_EQ(reports[0].rfind(prefix + "-[UILabel initWithFrame:]\nPID: ", 0), 0u) << reports[0];
    EXPECT_EQ(reports[1].rfind(prefix + "-[UIView setHidden:]\n", 0), 0u) << reports[1];
}

// Each entry point that changes the view tree, its layout or its constraints
// is checked, and reported once however many others it calls on its way.
TEST(MainThreadChecker, ChecksEveryChangeOfTheTreeLayoutAndConstraintsOnce) {
    Ref<UIView> parent = alloc<UIView>()->initWithFrame(CGRectMake(0, 0, 100, 100));
    Ref<UIView> child = alloc<UIView>()->init();
    parent->addSubview(child);
    Ref<NSLayoutConstraint> width = child->widthAnchor()->constraintEqualToConstant(10);
    Ref<UILabel> label = alloc<UILabel>()->init();
    Ref<UIStackView> stack = alloc<UIStackView>()->init();
    Ref<UIView> arranged = alloc<UIView>()->init();
    const std::pair<const char*, std::function<void()>> calls[] = {
        {"-[UIView setFrame:]", [&] { child->setFrame(CGRectMake(0, 0, 20, 20)); }},
        {"-[UIView setAlpha:]", [&] { child->setAlpha(0.5); }},
        {"-[UIView setTag:]", [&] { child->setTag(7); }},
        {"-[UIView setContentMode:]", [&] { child->setContentMode(UIViewContentModeCenter); }},
        {"-[UIView setClipsToBounds:]", [&] { child->setClipsToBounds(true); }},
        {"-[UIView setUserInteractionEnabled:]", [&] { child->setUserInteractionEnabled(false); }},
        {"-[UIView invalidateIntrinsicContentSize]",
         [&] { child->invalidateIntrinsicContentSize(); }},
        {"-[UILabel setFont:]", [&] { label->setFont(UIFont::systemFontOfSize(20)); }},
        {"-[UILabel setNumberOfLines:]", [&] { label->setNumberOfLines(2); }},
        {"-[UIStackView addArrangedSubview:]", [&] { stack->addArrangedSubview(label); }},
        {"-[UIStackView insertArrangedSubview:atIndex:]",
         [&] { stack->insertArrangedSubview(arranged, 0); }},
        {"-[UIStackView removeArrangedSubview:]", [&] { stack->removeArrangedSubview(label); }},
        {"-[UIStackView setAxis:]", [&] { stack->setAxis(UILayoutConstraintAxisVertical); }},
        {"-[UIStackView setDistribution:]",
         [&] { stack->setDistribution(UIStackViewDistributionFillEqually); }},
        {"-[UIStackView setAlignment:]", [&] { stack->setAlignment(UIStackViewAlignmentCenter); }},
        {"-[UIStackView setSpacing:]", [&] { stack->setSpacing(4); }},
        {"-[UIView setNeedsLayout]", [&] { child->setNeedsLayout(); }},
        {"+[NSLayoutConstraint activateConstraints:]",
         [&] { NSLayoutConstraint::activateConstraints({width}); }},
        {"-[NSLayoutConstraint setConstant:]", [&] { width->setConstant(12); }},
        {"-[UIView removeFromSuperview]", [&] { child->removeFromSuperview(); }},
    };
    for (const auto& [method, call] : calls) {
        std::vector<std::string> reports;
        SDKMainThreadChecker::Reporter previous = SDKMainThreadChecker::setReporter(
            [&](const std::string& report) { reports.push_back(report); });
        std::thread(call).join();
        SDKMainThreadChecker::setReporter(previous);
        ASSERT_EQ(reports.size(), 1u) << method;
        EXPECT_NE(reports[0].find(std::string(": ") + method + "\n"), std::string::npos)
            << reports[0];
    }
}

} // namespace
