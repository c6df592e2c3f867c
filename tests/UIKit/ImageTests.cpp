#include <gtest/gtest.h>

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <sys/stat.h>

#include <UIKit/UIImage.h>
#include <UIKit/UIImageView.h>

#include "TemporaryDeviceRoot.h"

namespace {

// A real PNG of the given size, one colour, encoded by gdk-pixbuf.
NSData pngOfColor(int width, int height, uint32_t rgba) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, width, height);
    gdk_pixbuf_fill(pixbuf, rgba);
    gchar* buffer = nullptr;
    gsize size = 0;
    gdk_pixbuf_save_to_buffer(pixbuf, &buffer, &size, "png", nullptr, nullptr);
    NSData data(buffer, buffer + size);
    g_free(buffer);
    g_object_unref(pixbuf);
    return data;
}

TEST(Image, DecodesDataAndFilesUnderTheDeviceRoot) {
    Ref<UIImage> image = UIImage::imageWithData(pngOfColor(4, 3, 0xFF800080));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->size(), CGSizeMake(4, 3));
    ASSERT_NE(image->bitmap(), nullptr);
    const std::vector<uint8_t>& pixels = image->bitmap()->rgba;
    EXPECT_EQ(std::vector<uint8_t>(pixels.begin(), pixels.begin() + 4),
              (std::vector<uint8_t>{0xFF, 0x80, 0x00, 0x80}));

    TemporaryDeviceRoot root;
    root.write("/Library/Images/a.png", pngOfColor(8, 8, 0x0000FFFF));
    Ref<UIImage> file = UIImage::imageNamed(std::string("/Library/Images/a.png"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->size(), CGSizeMake(8, 8));

    EXPECT_EQ(UIImage::imageNamed(std::string("/Library/Images/missing.png")), nullptr);
    EXPECT_EQ(UIImage::imageNamed(std::nullopt), nullptr);
    root.write("/Library/Images/text.png", "not an image");
    EXPECT_EQ(UIImage::imageNamed(std::string("/Library/Images/text.png")), nullptr);
    EXPECT_EQ(UIImage::imageWithData(NSData{'G', 'I', 'F'}), nullptr);
    EXPECT_EQ(UIImage::imageWithData({}), nullptr);
}

TEST(Image, RefusesPicturesThatWouldTakeTooMuchMemoryOrWait) {
    // Declares one pixel more than a picture may hold: refused before decoding.
    EXPECT_EQ(UIImage::imageWithData(pngOfColor(4097, 4096, 0xFF0000FF)), nullptr);

    TemporaryDeviceRoot root;
    root.makeFolder("/Library/Images");
    ASSERT_EQ(mkfifo(root.host("/Library/Images/fifo.png").c_str(), 0644), 0);
    EXPECT_EQ(UIImage::imageNamed(std::string("/Library/Images/fifo.png")), nullptr);
}

TEST(Image, SystemSymbolsComeFromTheCatalogueOnly) {
    for (const std::string& name : UIImage::systemSymbolNames()) {
        Ref<UIImage> symbol = UIImage::systemImageNamed(name);
        ASSERT_NE(symbol, nullptr) << name;
        EXPECT_TRUE(symbol->isSymbolImage());
        EXPECT_EQ(symbol->symbolName(), name);
    }
    EXPECT_EQ(UIImage::systemImageNamed(std::string("no.such.symbol")), nullptr);
    EXPECT_EQ(UIImage::systemImageNamed(std::nullopt), nullptr);

    Ref<UIImageView> view =
        alloc<UIImageView>()->initWithImage(UIImage::systemImageNamed(std::string("circle")));
    EXPECT_EQ(view->frame().size, CGSizeMake(20, 20));
}

} // namespace
