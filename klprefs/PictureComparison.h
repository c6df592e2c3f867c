#pragma once

#include <cstddef>

#include <render/SDKPageRenderer.h>

// Two pictures compared pixel by pixel. A pixel has changed when one of its
// channels (red, green, blue, opacity) differs by more than the threshold, a
// share of the channel's range from 0 (any difference) to 1 (none counts);
// where the pictures differ in size, every pixel only one of them has has
// changed.
class PictureComparison {
public:
    using Image = SDKPageRenderer::Image;

    // Both pictures in Cairo's ARGB32 form; neither is kept.
    PictureComparison(cairo_surface_t* reference, cairo_surface_t* actual, double threshold);

    size_t changedPixels() const { return _changed; }
    bool sameSize() const;
    // A picture as large as the larger of the two: the reference faded
    // toward white, with every changed pixel in red.
    Image diffImage() const;

private:
    bool changed(int x, int y) const;

    cairo_surface_t* _reference;
    cairo_surface_t* _actual;
    int _threshold;
    size_t _changed = 0;
};
