#pragma once

#include <memory>
#include <string>

#include <cairo.h>

#include <UIKit/UIWindow.h>
#include <render/SDKLookRegistry.h>

// Draws a window's page to pixels at a scale of 1 to 3 pixels per point: the
// whole window, with the screens presented over the page (alerts, sheets,
// menus), which are views in the window like the page's own.
class SDKPageRenderer {
public:
    using Image = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

    static constexpr double kMinimumScale = 1;
    static constexpr double kMaximumScale = 3;
    // The tallest or widest image Cairo makes, in pixels.
    static constexpr int kMaximumPixels = 32767;

    SDKPageRenderer(Ref<UIWindow> window, double scale,
                    const SDKLookRegistry& looks = SDKLookRegistry::standard());

    double scale() const { return _scale; }
    CGSize pageSize() const;
    // The image's size in pixels.
    int pixelWidth() const;
    int pixelHeight() const;

    // Draws the part of the page in `region` (points, window coordinates)
    // with the region's top-left corner at the context's origin, in pixels,
    // as the window is laid out now; a page drawn in tiles is laid out once
    // before the first.
    void drawRegion(cairo_t* cairo, const CGRect& region) const;
    // Lays the window out and draws the whole page; nil, with the reason in
    // `error`, when the scale is out of range or the image would be too large.
    Image makeImage(std::string* error = nullptr) const;
    // Writes the whole page as a PNG file at a path on this machine.
    bool writePNG(const std::string& hostPath, std::string* error = nullptr) const;

private:
    Ref<UIWindow> _window;
    double _scale;
    const SDKLookRegistry& _looks;
};
