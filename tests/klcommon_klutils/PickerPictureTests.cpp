#include <cairo.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <Foundation/NSProcessInfo.h>
#include <UIKit/UIColor.h>
#include <objc/runtime.h>

#include "HostedPage.h"
#include "PickerRowHarness.h"
#include "RenderedPage.h"

// libklcommon with libklutils loaded into the process beside it, as a tweak
// process on a device has it: the picker corrects its ":root:" paths and
// shows real pictures.
namespace {

using PickerRow::choice;
using PickerRow::choices;

void loadUtilities() {
    ASSERT_NE(dlopen(KL_KLUTILS_LIBRARY, RTLD_NOW | RTLD_GLOBAL), nullptr) << dlerror();
    ASSERT_NE(objc_getClass("KLUtilities"), nullptr);
}

// The reported iOS version for as long as it lives.
class SystemVersion {
public:
    explicit SystemVersion(NSOperatingSystemVersion version)
        : _previous(NSProcessInfo::processInfo()->operatingSystemVersion()) {
        NSProcessInfo::setOperatingSystemVersion(version);
    }
    ~SystemVersion() { NSProcessInfo::setOperatingSystemVersion(_previous); }

private:
    NSOperatingSystemVersion _previous;
};

// A PNG of one colour at a device path.
void writePicture(const TemporaryDeviceRoot& root, const std::string& path, int width, int height,
                  const CGColor& colour) {
    root.makeFolder(std::filesystem::path(path).parent_path().string());
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cairo = cairo_create(surface);
    cairo_set_source_rgba(cairo, colour.red, colour.green, colour.blue, colour.alpha);
    cairo_paint(cairo);
    cairo_destroy(cairo);
    ASSERT_EQ(cairo_surface_write_to_png(surface, root.host(path).c_str()), CAIRO_STATUS_SUCCESS);
    cairo_surface_destroy(surface);
}

enum class JailbreakFolder { None, Folder, PlainFile };

TEST(PickerPicture, TheRootPlaceholderFollowsTheDevicesLayout) {
    loadUtilities();
    struct Case {
        const char* name;
        NSOperatingSystemVersion ios;
        JailbreakFolder jb;
        const char* image;
        // The picture's width: 30 from /var/jb, 40 from the root, 0 for none.
        CGFloat width;
    };
    const Case cases[] = {
        {"rootless on iOS 15", {15, 0, 0}, JailbreakFolder::Folder, ":root:Library/a.png", 30},
        {"rootless on iOS 16", {16, 0, 2}, JailbreakFolder::Folder, ":root:Library/a.png", 30},
        {"iOS 14 with the folder", {14, 8, 0}, JailbreakFolder::Folder, ":root:Library/a.png", 40},
        {"no folder", {16, 0, 0}, JailbreakFolder::None, ":root:Library/a.png", 40},
        {"a plain file", {16, 0, 0}, JailbreakFolder::PlainFile, ":root:Library/a.png", 40},
        {"a path without the placeholder",
         {16, 0, 0},
         JailbreakFolder::Folder,
         "/Library/a.png",
         40},
        {"a missing file", {16, 0, 0}, JailbreakFolder::Folder, ":root:Library/b.png", 0},
        {"a file that is no picture",
         {16, 0, 0},
         JailbreakFolder::Folder,
         ":root:Library/notes.png",
         0},
        {"an empty path", {16, 0, 0}, JailbreakFolder::Folder, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TemporaryDeviceRoot root;
        SystemVersion version(c.ios);
        writePicture(root, "/Library/a.png", 40, 20, {1, 0, 0, 1});
        switch (c.jb) {
        case JailbreakFolder::Folder:
            writePicture(root, "/var/jb/Library/a.png", 30, 60, {0, 0, 1, 1});
            root.write("/var/jb/Library/notes.png", "not a picture");
            break;
        case JailbreakFolder::PlainFile:
            root.write("/var/jb", "a file");
            break;
        case JailbreakFolder::None:
            break;
        }
        HostedPage page(root, {PickerRow::row(Value(Value::Array{choice("A", c.image)}))});
        auto cell = page.cell<KLPickerCell>(0);
        const Ref<UIImage> image = choices(cell)[0]->imgView()->image();
        if (c.width == 0) {
            EXPECT_EQ(image, nullptr);
            continue;
        }
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->size().width, c.width);
        // Decoded from the file: its pixels are the colour written.
        ASSERT_NE(image->bitmap(), nullptr);
        const uint8_t* first = image->bitmap()->rgba.data();
        EXPECT_EQ(first[0], c.width == 40 ? 255 : 0);
        EXPECT_EQ(first[2], c.width == 30 ? 255 : 0);
        EXPECT_EQ(first[3], 255);
    }
}

TEST(PickerPicture, AnImageThatIsNotTextIsMissing) {
    loadUtilities();
    TemporaryDeviceRoot root;
    writePicture(root, "/Library/a.png", 40, 20, {1, 0, 0, 1});
    HostedPage page(root,
                    {PickerRow::row(Value(Value::Array{
                        Value(Value::Dictionary{{"title", "A"}, {"image", 5}}),
                        Value(Value::Dictionary{{"title", "B"},
                                                {"image", Value(Value::Array{"/Library/a.png"})}}),
                        choice("C", "/Library/a.png"),
                    }))});
    const auto views = choices(page.cell<KLPickerCell>(0));
    ASSERT_EQ(views.size(), 3u);
    EXPECT_EQ(views[0]->imgView()->image(), nullptr);
    EXPECT_EQ(views[1]->imgView()->image(), nullptr);
    EXPECT_NE(views[2]->imgView()->image(), nullptr);
}

// How many pixels in the rectangle (in points) are near the colour.
int pixelsNear(const RenderedPage& page, const CGRect& rect, const CGColor& colour) {
    int count = 0;
    const double step = 1 / page.scale();
    for (CGFloat y = rect.origin.y; y < CGRectGetMaxY(rect); y += step) {
        for (CGFloat x = rect.origin.x; x < CGRectGetMaxX(rect); x += step) {
            count += colorNear(page.at(x, y), colour, 0.08) ? 1 : 0;
        }
    }
    return count;
}

CGRect inWindow(const Ref<UIView>& view) {
    return view->convertRectToView(view->bounds(), nullptr);
}

TEST(PickerPicture, TheRowIsDrawnAsOnADevice) {
    loadUtilities();
    TemporaryDeviceRoot root;
    root.makeFolder("/var/jb");
    SystemVersion version({16, 0, 0});
    // Square pictures in a tall picture area: scaled to fit, with room above
    // and below.
    const CGColor red{1, 0, 0, 1};
    writePicture(root, "/var/jb/Library/square.png", 50, 50, red);
    HostedPage page(root,
                    {PickerRow::row(Value(Value::Array{
                        choice("One", ":root:Library/square.png"),
                        choice("Two", ":root:Library/square.png"),
                    }))},
                    {{"layout", 1}});
    page.window->layoutIfNeeded();
    RenderedPage image(page.window, 2);
    ASSERT_TRUE(image.ok()) << image.error();
    const CGColor white = *UIColor::secondarySystemGroupedBackgroundColor()->CGColor();
    const CGColor blue = *UIColor::systemBlueColor()->CGColor();
    const CGColor gray = *UIColor::grayColor()->CGColor();
    const auto views = choices(page.cell<KLPickerCell>(0));
    for (size_t i = 0; i < views.size(); ++i) {
        SCOPED_TRACE(i);
        const CGRect area = inWindow(views[i]->imgView());
        const CGFloat side = area.size.width;
        ASSERT_LT(side, area.size.height);
        const CGFloat top = area.origin.y + (area.size.height - side) / 2;
        EXPECT_TRUE(colorNear(image.at(CGRectGetMidX(area), CGRectGetMidY(area)), red));
        EXPECT_TRUE(colorNear(image.at(CGRectGetMidX(area), top + 1), red));
        // Letterboxed: the row shows above and below the picture.
        EXPECT_TRUE(colorNear(image.at(CGRectGetMidX(area), top - 1), white));
        EXPECT_TRUE(colorNear(image.at(CGRectGetMidX(area), top + side + 1), white));

        // The caption's ink is the label colour.
        const CGRect caption = inWindow(views[i]->label());
        EXPECT_GT(pixelsNear(image, caption, {0, 0, 0, 1}), 10);

        const CGRect check = inWindow(views[i]->checkImageView());
        const int bluePixels = pixelsNear(image, check, blue);
        const int grayPixels = pixelsNear(image, check, gray);
        if (i == 1) {
            EXPECT_GT(bluePixels, 200);
            EXPECT_EQ(grayPixels, 0);
        } else {
            EXPECT_GT(grayPixels, 50);
            EXPECT_EQ(bluePixels, 0);
        }
    }
}

} // namespace
