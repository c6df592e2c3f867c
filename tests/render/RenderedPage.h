#pragma once

#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include <QuartzCore/CGColor.h>
#include <UIKit/UIWindow.h>
#include <render/SDKPageRenderer.h>

// A window drawn to pixels, read back by point as unpremultiplied colours.
class RenderedPage {
public:
    RenderedPage(const Ref<UIWindow>& window, double scale,
                 const SDKLookRegistry& looks = SDKLookRegistry::standard())
        : _scale(scale), _image(SDKPageRenderer(window, scale, looks).makeImage(&_error)) {}

    bool ok() const { return _image != nullptr; }
    const std::string& error() const { return _error; }
    cairo_surface_t* surface() const { return _image.get(); }
    double scale() const { return _scale; }

    // The pixel that covers the point.
    CGColor at(CGFloat x, CGFloat y) const {
        return pixel(static_cast<int>(std::floor(x * _scale)),
                     static_cast<int>(std::floor(y * _scale)));
    }
    CGColor pixel(int x, int y) const {
        const unsigned char* data = cairo_image_surface_get_data(_image.get());
        const int stride = cairo_image_surface_get_stride(_image.get());
        const uint32_t value = *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
        const double alpha = (value >> 24) / 255.0;
        auto channel = [&](int shift) {
            return alpha > 0 ? ((value >> shift) & 0xFF) / 255.0 / alpha : 0.0;
        };
        return CGColor{channel(16), channel(8), channel(0), alpha};
    }

private:
    double _scale;
    std::string _error;
    SDKPageRenderer::Image _image;
};

// Colours within a byte or two per component, as drawing rounds them.
inline ::testing::AssertionResult colorNear(const CGColor& actual, const CGColor& expected,
                                            double tolerance = 2.5 / 255) {
    const bool near = std::abs(actual.red - expected.red) <= tolerance &&
                      std::abs(actual.green - expected.green) <= tolerance &&
                      std::abs(actual.blue - expected.blue) <= tolerance &&
                      std::abs(actual.alpha - expected.alpha) <= tolerance;
    if (near) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "got (" << actual.red * 255 << ", " << actual.green * 255 << ", " << actual.blue * 255
           << ", " << actual.alpha * 255 << ") wanted (" << expected.red * 255 << ", "
           << expected.green * 255 << ", " << expected.blue * 255 << ", " << expected.alpha * 255
           << ")";
}

// A colour drawn over an opaque one.
inline CGColor over(const CGColor& top, const CGColor& below) {
    auto mix = [&](double a, double b) { return a * top.alpha + b * (1 - top.alpha); };
    return CGColor{mix(top.red, below.red), mix(top.green, below.green), mix(top.blue, below.blue),
                   1};
}
