#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Foundation/NSLocale.h>
#include <Preferences/PSSliderTableCell.h>
#include <UIKit/UINavigationBar.h>
#include <UIKit/UINavigationController.h>
#include <UIKit/UISlider.h>

#include "HostedPage.h"

namespace {

Value::Array standardRows() {
    return {
        Value::Dictionary{{"cell", "PSGroupCell"}, {"label", "Group"}, {"footerText", "Footer"}},
        HostedPage::row("PSSwitchCell", "enabled"),
        HostedPage::row("PSSliderCell", "volume",
                        {{"min", 0}, {"max", 10}, {"default", 2}, {"showValue", true}}),
        HostedPage::row("PSSegmentCell", "speed",
                        {{"validValues", Value::Array{0, 1, 2}},
                         {"validTitles", Value::Array{"Slow", "Normal", "Fast"}},
                         {"default", 0}}),
        HostedPage::row("PSLinkListCell", "theme",
                        {{"detail", "PSListItemsController"},
                         {"validValues", Value::Array{0, 1}},
                         {"validTitles", Value::Array{"Light", "Dark"}},
                         {"default", 1}}),
        HostedPage::row("PSEditTextCell", "name", {{"placeholder", "Your name"}}),
        HostedPage::row("PSTitleValueCell", "build", {{"default", "42"}}),
    };
}

// Every view of every row and of the navigation bar, by its path, in window coordinates.
void collect(const Ref<UIView>& view, const std::string& path, std::vector<std::string>& names,
             std::vector<CGRect>& frames) {
    names.push_back(path + ":" + view->className());
    frames.push_back(view->convertRectToView(view->bounds(), nullptr));
    for (size_t i = 0; i < view->subviews().size(); ++i) {
        collect(view->subviews()[i], path + "." + std::to_string(i), names, frames);
    }
}

struct Frames {
    std::vector<std::string> names;
    std::vector<CGRect> frames;
    CGFloat width = 0;
};

Frames framesIn(const std::vector<std::string>& languages) {
    TemporaryDeviceRoot root;
    DeviceLook device;
    device.languages = languages;
    HostedPage page(root, standardRows(), {}, "", device);
    Frames out;
    out.width = page.window->bounds().size.width;
    for (size_t i = 1; i < page.controller->specifiers().size(); ++i) {
        collect(page.cell(i), std::to_string(i), out.names, out.frames);
    }
    collect(page.host->navigationController()->navigationBar(), "bar", out.names, out.frames);
    return out;
}

TEST(RightToLeft, EveryRowAndTheBarMirror) {
    const Frames left = framesIn({"en"});
    // Persian: right to left, with Settings' own words in English as in the other.
    const Frames right = framesIn({"fa", "en"});
    ASSERT_EQ(left.names, right.names);
    ASSERT_GT(left.names.size(), 20u);
    for (size_t i = 0; i < left.names.size(); ++i) {
        const CGRect& l = left.frames[i];
        const CGRect& r = right.frames[i];
        EXPECT_NEAR(r.origin.x, left.width - CGRectGetMaxX(l), 1e-6) << left.names[i];
        EXPECT_NEAR(r.origin.y, l.origin.y, 1e-6) << left.names[i];
        EXPECT_NEAR(r.size.width, l.size.width, 1e-6) << left.names[i];
    }
    NSLocale::setPreferredLanguages({});
}

TEST(RightToLeft, ASliderRunsFromTheRightAndFollowsTheFinger) {
    TemporaryDeviceRoot root;
    DeviceLook device;
    device.languages = {"he"};
    HostedPage page(root, standardRows(), {}, "", device);
    Ref<PSSliderTableCell> cell = page.cell<PSSliderTableCell>(2);
    Ref<UISlider> slider;
    for (const Ref<UIView>& view : ViewFinder::allViews(cell)) {
        slider = slider ? slider : objc_cast<UISlider>(view);
    }
    ASSERT_TRUE(slider);
    const CGRect track = slider->trackRectForBounds(slider->bounds());
    const CGRect minimum = slider->thumbRectForBounds(slider->bounds(), track, 0);
    const CGRect maximum = slider->thumbRectForBounds(slider->bounds(), track, 10);
    EXPECT_NEAR(CGRectGetMaxX(minimum), CGRectGetMaxX(track), 1e-6);
    EXPECT_NEAR(maximum.origin.x, track.origin.x, 1e-6);
    page.drag(slider, 7.5);
    EXPECT_NEAR(page.stored("volume").doubleValue(), 7.5, 0.01);
    page.drag(slider, 0);
    EXPECT_EQ(page.stored("volume").doubleValue(), 0);
    NSLocale::setPreferredLanguages({});
}

} // namespace
