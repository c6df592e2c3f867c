#pragma once

#include <string>

#include <cairo.h>

// A drawn frame as PNG bytes, made for speed over size: the browser fetches
// each frame once, over loopback, so the fastest compression wins (Cairo's
// own PNG writer compresses ten times slower, which a person would see after
// every click). The pixels are exact all the same.
class FrameEncoder {
public:
    FrameEncoder() = delete;
    // Empty when the image is no ARGB32 image or libpng fails.
    static std::string png(cairo_surface_t* image);
};
