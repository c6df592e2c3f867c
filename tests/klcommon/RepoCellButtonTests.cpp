#include <gtest/gtest.h>

#include <UIKit/UIColor.h>
#include <UIKit/UIImage.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UILabel.h>

#include "KLRepoCellButton.h"

namespace {

TEST(RepoCellButton, IconAndCaptionSitFromTheFrameHeight) {
    struct Case {
        CGRect frame;
        CGRect icon;
        CGFloat captionTop;
    };
    const Case cases[] = {
        {CGRectMake(0, 0, 375, 120), CGRectMake(157.5, 20, 60, 60), 85},
        {CGRectMake(0, 0, 300, 80), CGRectMake(130, 10, 40, 40), 55},
        {CGRectMake(10, 30, 200, 200), CGRectMake(50, 40, 100, 100), 145},
    };
    for (const Case& c : cases) {
        auto button = alloc<KLRepoCellButton>()->initWithFrame(c.frame, std::string("Repository"));
        button->layoutIfNeeded();
        EXPECT_EQ(button->iconView()->frame(), c.icon);
        const CGRect caption = button->labelView()->frame();
        EXPECT_EQ(caption.origin.y, c.captionTop);
        EXPECT_DOUBLE_EQ(CGRectGetMidX(caption), c.frame.size.width / 2);
        EXPECT_GT(caption.size.width, 0);
    }
}

TEST(RepoCellButton, IconKeepsItsSizeWhenTheFrameChanges) {
    auto button = alloc<KLRepoCellButton>()->initWithFrame(CGRectMake(0, 0, 300, 80), std::nullopt);
    const CGRect frames[] = {CGRectMake(0, 0, 300, 200), CGRectMake(0, 0, 100, 30),
                             CGRectMake(0, 0, 500, 80)};
    for (const CGRect& frame : frames) {
        button->setFrame(frame);
        button->layoutIfNeeded();
        EXPECT_EQ(button->iconView()->frame().size, CGSizeMake(40, 40));
        EXPECT_DOUBLE_EQ(CGRectGetMidY(button->iconView()->frame()), frame.size.height / 2 - 10);
    }
}

TEST(RepoCellButton, IconAndCaptionShareTheBlueGray) {
    auto button =
        alloc<KLRepoCellButton>()->initWithFrame(CGRectMake(0, 0, 375, 120), std::string("Repo"));
    const Ref<UIColor> blueGray = UIColor::colorWithRed(0.49, 0.59, 0.63, 1.0);
    EXPECT_TRUE(UIColorEqual(button->iconView()->tintColor(), blueGray));
    EXPECT_TRUE(UIColorEqual(button->labelView()->textColor(), blueGray));

    ASSERT_NE(button->iconView()->image(), nullptr);
    EXPECT_EQ(button->iconView()->image()->symbolName(), "shippingbox.fill");
    EXPECT_EQ(button->iconView()->contentMode(), UIViewContentModeScaleAspectFit);
    EXPECT_EQ(button->labelView()->font()->pointSize(), 14);
    EXPECT_TRUE(button->labelView()->adjustsFontSizeToFitWidth());
    EXPECT_EQ(button->labelView()->textAlignment(), NSTextAlignmentCenter);
    EXPECT_EQ(button->labelView()->text(), "Repo");
}

TEST(RepoCellButton, ANilTitleLeavesTheCaptionEmpty) {
    auto button =
        alloc<KLRepoCellButton>()->initWithFrame(CGRectMake(0, 0, 375, 120), std::nullopt);
    button->layoutIfNeeded();
    EXPECT_EQ(button->labelView()->text(), std::nullopt);
    EXPECT_EQ(button->labelView()->frame().origin.y, 85);
}

} // namespace
