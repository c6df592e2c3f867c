#include <gtest/gtest.h>

#include <Preferences/Preferences.h>
#include <UIKit/UIActivityIndicatorView.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UILabel.h>
#include <UIKit/UISlider.h>

#include "HostedPage.h"
#include "TestPictures.h"

namespace {

std::string inBundle(const std::string& name) {
    return std::string(HostedPage::kBundlePath) + "/" + name;
}

TEST(RowIcon, ShowsTheBundlesImageAtTwentyNinePointsOrNothing) {
    const struct {
        const char* name;
        const char* cell;
        const char* icon;
        const char* file;
        std::string bytes;
        CGSize shown;
    } cases[] = {
        {"png by name", "PSSwitchCell", "icon", "icon.png", pngPicture(58, 58), {29, 29}},
        {"@3x version first",
         "PSLinkCell",
         "icon.png",
         "icon@3x.png",
         pngPicture(87, 87),
         {29, 29}},
        {"wider than tall", "PSTableCell", "wide.png", "wide.png", pngPicture(58, 29), {29, 14.5}},
        {"missing", "PSSwitchCell", "gone.png", "other.png", pngPicture(29, 29), {0, 0}},
        {"undecodable", "PSLinkCell", "bad.png", "bad.png", "not a picture", {0, 0}},
        {"outside the bundle", "PSTableCell", "../icon.png", "../icon.png", pngPicture(), {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TemporaryDeviceRoot root;
        root.write(inBundle(c.file), c.bytes);
        HostedPage page(root,
                        {Value::Dictionary{{"cell", c.cell}, {"label", "Row"}, {"icon", c.icon}}});
        Ref<PSTableCell> cell = page.cell(0);
        ASSERT_TRUE(cell);
        const bool shown = c.shown.width > 0;
        Ref<UIImageView> icon = shown ? cell->imageView() : nullptr;
        const CGFloat titleX = cell->textLabel()->frame().origin.x;
        if (shown) {
            EXPECT_FALSE(icon->isHidden());
            EXPECT_EQ(icon->frame().size, c.shown);
            EXPECT_EQ(icon->frame().origin.x, UITableViewCell::kLayoutMargin);
            EXPECT_EQ(titleX, UITableViewCell::kLayoutMargin + c.shown.width +
                                  UITableViewCell::kImageSpacing);
        } else {
            EXPECT_FALSE(cell->imageView()->image());
            EXPECT_EQ(titleX, UITableViewCell::kLayoutMargin);
        }
    }
}

TEST(SliderImages, TheTrackShrinksByTheImagesAtItsEnds) {
    const struct {
        const char* left;
        const char* right;
        CGFloat leftWidth;
        CGFloat rightWidth;
    } cases[] = {
        {nullptr, nullptr, 0, 0},       {"small.png", nullptr, 20, 0},    {nullptr, "large", 0, 24},
        {"small", "large.png", 20, 24}, {"missing.png", "bad.png", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.left ? c.left : "-") + " " + (c.right ? c.right : "-"));
        TemporaryDeviceRoot root;
        root.write(inBundle("small.png"), pngPicture(20, 20));
        root.write(inBundle("large@2x.png"), pngPicture(48, 40));
        root.write(inBundle("bad.png"), std::string("GIF89a"));
        Value::Dictionary item{{"cell", "PSSliderCell"},
                               {"label", "Size"},
                               {"key", "size"},
                               {"defaults", HostedPage::kDomain}};
        if (c.left) {
            item["leftImage"] = c.left;
        }
        if (c.right) {
            item["rightImage"] = c.right;
        }
        HostedPage page(root, {item});
        Ref<UISlider> slider = page.cell<PSSliderTableCell>(0)->control();
        const CGRect bounds = slider->bounds();
        const CGRect track = slider->trackRectForBounds(bounds);
        auto room = [](CGFloat width) {
            return width > 0 ? width + UISlider::kValueImageSpacing : 0;
        };
        EXPECT_EQ(track.origin.x, room(c.leftWidth));
        EXPECT_EQ(track.size.width, bounds.size.width - room(c.leftWidth) - room(c.rightWidth));
        EXPECT_EQ(slider->minimumValueImageRectForBounds(bounds).size.width, c.leftWidth);
        EXPECT_EQ(slider->maximumValueImageRectForBounds(bounds).size.width, c.rightWidth);
        // A drag still reaches either end of the shorter track.
        for (const float value : {1.0f, 0.0f}) {
            page.drag(slider, value);
            EXPECT_EQ(page.stored("size"), Value(static_cast<double>(value)));
        }
    }
}

TEST(SpinnerRow, ShowsItsTitleAndASpinningIndicator) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {Value::Dictionary{{"cell", "PSSpinnerCell"}, {"label", "Loading"}}});
    auto cell = page.cell<PSSpinnerTableCell>(0);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->textLabel()->text(), std::optional<std::string>("Loading"));
    Ref<UIActivityIndicatorView> spinner = cell->spinner();
    EXPECT_EQ(cell->accessoryView(), spinner);
    EXPECT_TRUE(spinner->isAnimating());
    EXPECT_FALSE(spinner->isHidden());
    EXPECT_EQ(spinner->frame().size, CGSizeMake(20, 20));
    EXPECT_EQ(CGRectGetMaxX(spinner->frame()),
              cell->bounds().size.width - UITableViewCell::kLayoutMargin);
}

} // namespace
