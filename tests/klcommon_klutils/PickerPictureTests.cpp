#include <cairo.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <Foundation/NSProcessInfo.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UIStackView.h>

#include "PickerRowHarness.h"
#include "RenderedPage.h"

// The picker with libklutils loaded beside libklcommon, as a tweak process on
// a device has it: ":root:" paths are corrected and the pictures decoded.
namespace {

using namespace PickerRow;

// The device's layout: the iOS version and whether /var/jb is a folder, a
// plain file or missing. The utilities are loaded first.
void prepareDevice(const TemporaryDeviceRoot& root, int ios, const char* jb) {
    ASSERT_NE(dlopen(KL_KLUTILS_LIBRARY, RTLD_NOW | RTLD_GLOBAL), nullptr) << dlerror();
    NSProcessInfo::setOperatingSystemVersion({ios, 0, 0});
    if (std::string(jb) == "folder") {
        root.makeFolder("/var/jb/Library");
    } else if (std::string(jb) == "file") {
        root.write("/var/jb", "a file");
    }
}

// A PNG of one colour, `width` by 20 pixels.
void writePicture(const TemporaryDeviceRoot& root, const std::string& path, int width) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, 20);
    cairo_t* cairo = cairo_create(surface);
    cairo_set_source_rgb(cairo, 1, 0, 0);
    cairo_paint(cairo);
    cairo_destroy(cairo);
    root.makeFolder(std::filesystem::path(path).parent_path().string());
    EXPECT_EQ(cairo_surface_write_to_png(surface, root.host(path).c_str()), CAIRO_STATUS_SUCCESS);
    cairo_surface_destroy(surface);
}

TEST(PickerPicture, TheRootPlaceholderFollowsTheDevicesLayout) {
    struct Case {
        int ios;
        const char* jb;
        const char* image;
        CGFloat width; // 30: from /var/jb, 40: from the root, 0: none
    };
    const Case cases[] = {
        {15, "folder", ":root:Library/a.png", 30}, {14, "folder", ":root:Library/a.png", 40},
        {16, "none", ":root:Library/a.png", 40},   {16, "file", ":root:Library/a.png", 40},
        {16, "folder", "/Library/a.png", 40},      {16, "folder", ":root:Library/b.png", 0},
        {16, "folder", ":root:Library/c.png", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.jb) + " " + c.image + " iOS " + std::to_string(c.ios));
        TemporaryDeviceRoot root;
        prepareDevice(root, c.ios, c.jb);
        writePicture(root, "/Library/a.png", 40);
        if (std::string(c.jb) == "folder") {
            writePicture(root, "/var/jb/Library/a.png", 30);
            root.write("/var/jb/Library/c.png", "not a picture");
        }
        HostedPage page(root, {row(Value(Value::Array{choice("A", c.image)}))});
        const Ref<UIImage> image = choices(page.cell<KLPickerCell>(0))[0]->imgView()->image();
        EXPECT_EQ(image ? image->size().width : 0, c.width);
    }
}

TEST(PickerPicture, TheRowIsDrawnAsOnADevice) {
    TemporaryDeviceRoot root;
    prepareDevice(root, 16, "folder");
    writePicture(root, "/var/jb/Library/a.png", 20);
    HostedPage page(root,
                    {row(Value(Value::Array{choice("One", ":root:Library/a.png"),
                                            choice("Two", ":root:Library/a.png")}))},
                    {{"layout", 1}});
    page.window->layoutIfNeeded();
    RenderedPage image(page.window, 2);
    ASSERT_TRUE(image.ok()) << image.error();
    auto middle = [&](const Ref<UIView>& view, CGFloat dy = 0) {
        const CGRect r = view->convertRectToView(view->bounds(), nullptr);
        return image.at(CGRectGetMidX(r), CGRectGetMidY(r) + dy);
    };
    const CGColor red{1, 0, 0, 1}, white{1, 1, 1, 1};
    for (const auto& view : choices(page.cell<KLPickerCell>(0))) {
        SCOPED_TRACE(view->tag());
        // A 20 by 20 picture fitted to the 53-point width of a 108-point-high
        // area: letterboxed, the row shows above and below it.
        const CGFloat half = view->imgView()->bounds().size.width / 2;
        EXPECT_TRUE(colorNear(middle(view->imgView(), half - 1), red));
        EXPECT_TRUE(colorNear(middle(view->imgView(), half + 1), white));
        EXPECT_TRUE(colorNear(middle(view->imgView(), -half - 1), white));
        // Inside the ring of "circle" is white; the filled mark is blue there.
        const CGColor centre = middle(view->checkImageView(), 6);
        EXPECT_TRUE(
            colorNear(centre, view->tag() == 1 ? *UIColor::systemBlueColor()->CGColor() : white));
    }
}

} // namespace
