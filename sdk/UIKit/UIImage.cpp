#include <UIKit/UIImage.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <Foundation/DeviceRoot.h>
#include <Foundation/NSBundle.h>
#include <Foundation/NSFileManager.h>

namespace {

// The platform draws symbols at the body text size by default: about 20 points.
constexpr CGFloat kSymbolPointSize = 20;

Ref<UIImage> imageFromPixbuf(GdkPixbuf* pixbuf);

void refuseOversizedImage(GdkPixbufLoader* loader, int width, int height, gpointer tooLarge) {
    if (width <= 0 || height <= 0 ||
        static_cast<long long>(width) * height > UIImage::kMaximumPixelCount) {
        *static_cast<bool*>(tooLarge) = true;
        gdk_pixbuf_loader_set_size(loader, 0, 0);
    }
}

} // namespace

const std::vector<std::string>& UIImage::systemSymbolNames() {
    static const std::vector<std::string> names = {
        "circle",
        "checkmark.circle.fill",
        "checkmark.circle",
        "person.crop.square.fill",
        "dollarsign.circle.fill",
        "square.and.arrow.up",
        "person.crop.circle.badge.plus",
        "envelope",
        "bubble.left.and.bubble.right",
        "shippingbox.fill",
        "gear.badge.checkmark",
        "wifi",
    };
    return names;
}

Ref<UIImage> UIImage::systemImageNamed(const std::optional<std::string>& name) {
    const auto& names = systemSymbolNames();
    if (!name || std::find(names.begin(), names.end(), *name) == names.end()) {
        return nullptr;
    }
    Ref<UIImage> image = alloc<UIImage>();
    image->_symbolName = *name;
    image->_size = CGSizeMake(kSymbolPointSize, kSymbolPointSize);
    return image;
}

Ref<UIImage> UIImage::initWithBitmap(std::shared_ptr<const Bitmap> bitmap, CGFloat scale) {
    if (!bitmap || !(scale > 0) || !std::isfinite(scale)) {
        return nullptr;
    }
    _scale = scale;
    _size = CGSizeMake(bitmap->width / scale, bitmap->height / scale);
    _bitmap = std::move(bitmap);
    return self<UIImage>();
}

Ref<UIImage> UIImage::imageNamed(const std::optional<std::string>& path) {
    return imageWithContentsOfFile(path);
}

Ref<UIImage> UIImage::imageNamed(const std::optional<std::string>& name,
                                 const Ref<NSBundle>& bundle) {
    if (!name || name->empty() || !bundle) {
        return nullptr;
    }
    const std::filesystem::path path(*name);
    if (path.is_absolute() ||
        std::any_of(path.begin(), path.end(), [](const auto& part) { return part == ".."; })) {
        return nullptr;
    }
    const std::string extension = path.has_extension() ? path.extension().string() : ".png";
    const std::string stem = (path.parent_path() / path.stem()).string();
    for (const auto& [suffix, scale] : {std::pair{"@3x", 3.0}, {"@2x", 2.0}, {"", 1.0}}) {
        std::optional<std::string> found = bundle->pathForResource(stem + suffix, extension);
        if (!found) {
            continue;
        }
        Ref<UIImage> image = imageWithContentsOfFile(*found);
        return image ? alloc<UIImage>()->initWithBitmap(image->bitmap(), scale) : nullptr;
    }
    return nullptr;
}

Ref<UIImage> UIImage::imageWithContentsOfFile(const std::optional<std::string>& path) {
    if (!path || path->empty()) {
        return nullptr;
    }
    // A file larger than any picture a row shows is not read at all; reading
    // takes only regular files, so a FIFO cannot hold the page up.
    std::error_code error;
    const auto size = std::filesystem::file_size(DeviceRoot::hostPathFor(*path), error);
    if (error || size > kMaximumFileSize) {
        return nullptr;
    }
    std::optional<NSData> data = NSFileManager::defaultManager()->contentsAtPath(*path);
    return data ? imageWithData(*data) : nullptr;
}

Ref<UIImage> UIImage::imageWithData(const NSData& data) {
    if (data.empty()) {
        return nullptr;
    }
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    // The size is known from the header before the pixels are allocated; a
    // zero size makes the loader stop there.
    bool tooLarge = false;
    g_signal_connect(loader, "size-prepared", G_CALLBACK(refuseOversizedImage), &tooLarge);
    GError* error = nullptr;
    bool written = gdk_pixbuf_loader_write(loader, data.data(), data.size(), &error);
    bool closed = gdk_pixbuf_loader_close(loader, written ? &error : nullptr);
    if (error) {
        g_error_free(error);
    }
    GdkPixbuf* pixbuf = nullptr;
    if (written && closed && !tooLarge) {
        pixbuf = gdk_pixbuf_loader_get_pixbuf(loader);
        if (pixbuf) {
            g_object_ref(pixbuf);
        }
    }
    g_object_unref(loader);
    return imageFromPixbuf(pixbuf);
}

namespace {

// Takes ownership of the pixbuf and copies its pixels out as RGBA.
Ref<UIImage> imageFromPixbuf(GdkPixbuf* pixbuf) {
    if (!pixbuf) {
        return nullptr;
    }
    auto bitmap = std::make_shared<UIImage::Bitmap>();
    bitmap->width = gdk_pixbuf_get_width(pixbuf);
    bitmap->height = gdk_pixbuf_get_height(pixbuf);
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    const bool hasAlpha = gdk_pixbuf_get_has_alpha(pixbuf);
    const guchar* pixels = gdk_pixbuf_read_pixels(pixbuf);
    bitmap->rgba.resize(static_cast<size_t>(bitmap->width) * bitmap->height * 4);
    for (int y = 0; y < bitmap->height; ++y) {
        const guchar* row = pixels + static_cast<size_t>(y) * stride;
        for (int x = 0; x < bitmap->width; ++x) {
            uint8_t* out = &bitmap->rgba[(static_cast<size_t>(y) * bitmap->width + x) * 4];
            const guchar* in = row + static_cast<size_t>(x) * channels;
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = hasAlpha ? in[3] : 255;
        }
    }
    g_object_unref(pixbuf);
    return alloc<UIImage>()->initWithBitmap(std::move(bitmap));
}

} // namespace
