#include <UIKit/UIImage.h>

#include <algorithm>

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <Foundation/DeviceRoot.h>

namespace {

// The platform draws symbols at the body text size by default: about 20 points.
constexpr CGFloat kSymbolPointSize = 20;

Ref<UIImage> imageFromPixbuf(GdkPixbuf* pixbuf);

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

Ref<UIImage> UIImage::initWithBitmap(std::shared_ptr<const Bitmap> bitmap) {
    if (!bitmap) {
        return nullptr;
    }
    _size = CGSizeMake(bitmap->width, bitmap->height);
    _bitmap = std::move(bitmap);
    return self<UIImage>();
}

Ref<UIImage> UIImage::imageNamed(const std::optional<std::string>& path) {
    return imageWithContentsOfFile(path);
}

Ref<UIImage> UIImage::imageWithContentsOfFile(const std::optional<std::string>& path) {
    if (!path || path->empty()) {
        return nullptr;
    }
    const std::string hostPath = DeviceRoot::hostPathFor(*path);
    GError* error = nullptr;
    GdkPixbuf* pixbuf = gdk_pixbuf_new_from_file(hostPath.c_str(), &error);
    if (error) {
        g_error_free(error);
    }
    return imageFromPixbuf(pixbuf);
}

Ref<UIImage> UIImage::imageWithData(const NSData& data) {
    if (data.empty()) {
        return nullptr;
    }
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    GError* error = nullptr;
    bool written = gdk_pixbuf_loader_write(loader, data.data(), data.size(), &error);
    bool closed = gdk_pixbuf_loader_close(loader, written ? &error : nullptr);
    if (error) {
        g_error_free(error);
    }
    GdkPixbuf* pixbuf = nullptr;
    if (written && closed) {
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
