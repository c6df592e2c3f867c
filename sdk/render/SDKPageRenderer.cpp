#include <render/SDKPageRenderer.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include <render/SDKCanvas.h>
#include <render/SDKViewPainter.h>

namespace {

// A scale as it was given: 2, or 1.5.
std::string scaleText(double scale) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", scale);
    return text;
}

} // namespace

SDKPageRenderer::SDKPageRenderer(Ref<UIWindow> window, double scale, const SDKLookRegistry& looks)
    : _window(std::move(window)), _scale(scale), _looks(looks) {}

CGSize SDKPageRenderer::pageSize() const {
    return _window ? _window->bounds().size : CGSizeMake(0, 0);
}

int SDKPageRenderer::pixelWidth() const {
    return static_cast<int>(std::ceil(pageSize().width * _scale - 1e-9));
}

int SDKPageRenderer::pixelHeight() const {
    return static_cast<int>(std::ceil(pageSize().height * _scale - 1e-9));
}

void SDKPageRenderer::drawRegion(cairo_t* cairo, const CGRect& region) const {
    if (!_window) {
        return;
    }
    cairo_save(cairo);
    cairo_scale(cairo, _scale, _scale);
    cairo_translate(cairo, -region.origin.x, -region.origin.y);
    cairo_rectangle(cairo, region.origin.x, region.origin.y, region.size.width, region.size.height);
    cairo_clip(cairo);
    SDKCanvas canvas(cairo, _scale);
    SDKViewPainter painter(canvas, _looks);
    painter.drawView(*_window);
    cairo_restore(cairo);
}

SDKPageRenderer::Image SDKPageRenderer::makeImage(std::string* error) const {
    Image none(nullptr, &cairo_surface_destroy);
    auto fail = [&](const std::string& message) {
        if (error) {
            *error = message;
        }
        return std::move(none);
    };
    if (!(_scale >= kMinimumScale && _scale <= kMaximumScale)) {
        return fail("the scale must be from 1 to 3 pixels per point");
    }
    const int width = pixelWidth(), height = pixelHeight();
    if (width <= 0 || height <= 0) {
        return fail("the page has no area to draw");
    }
    if (width > kMaximumPixels || height > kMaximumPixels) {
        // A smaller scale helps only when there is one to go down to.
        const bool smallerHelps =
            _scale > kMinimumScale &&
            std::max(pageSize().width, pageSize().height) * kMinimumScale <= kMaximumPixels;
        return fail("the page is " + std::to_string(width) + " by " + std::to_string(height) +
                    " pixels at scale " + scaleText(_scale) + ", more than the " +
                    std::to_string(kMaximumPixels) + " an image can hold" +
                    (smallerHelps ? "; draw it at a smaller scale"
                                  : ", even at the smallest scale; the page is too large to draw "
                                    "as one image"));
    }
    Image image(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height),
                &cairo_surface_destroy);
    if (cairo_surface_status(image.get()) != CAIRO_STATUS_SUCCESS) {
        return fail(std::string("cannot make the image: ") +
                    cairo_status_to_string(cairo_surface_status(image.get())));
    }
    _window->layoutIfNeeded();
    cairo_t* cairo = cairo_create(image.get());
    const CGSize page = pageSize();
    drawRegion(cairo, CGRectMake(0, 0, page.width, page.height));
    cairo_destroy(cairo);
    cairo_surface_flush(image.get());
    return image;
}

bool SDKPageRenderer::writePNG(const std::string& hostPath, std::string* error) const {
    Image image = makeImage(error);
    if (!image) {
        return false;
    }
    // The file is opened here, not by Cairo, so that a failure names its cause.
    auto fail = [&](const std::string& cause) {
        if (error) {
            *error = "cannot write " + hostPath + ": " + cause;
        }
        return false;
    };
    FILE* file = std::fopen(hostPath.c_str(), "wb");
    if (!file) {
        return fail(std::strerror(errno));
    }
    errno = 0;
    const cairo_status_t status = cairo_surface_write_to_png_stream(
        image.get(),
        [](void* closure, const unsigned char* data, unsigned int length) {
            return std::fwrite(data, 1, length, static_cast<FILE*>(closure)) == length
                       ? CAIRO_STATUS_SUCCESS
                       : CAIRO_STATUS_WRITE_ERROR;
        },
        file);
    int cause = status != CAIRO_STATUS_SUCCESS ? errno : 0;
    if (std::fclose(file) != 0 && cause == 0) {
        cause = errno;
    }
    if (status == CAIRO_STATUS_SUCCESS && cause == 0) {
        return true;
    }
    std::error_code ignored;
    std::filesystem::remove(hostPath, ignored);
    return fail(cause != 0 ? std::strerror(cause) : cairo_status_to_string(status));
}
