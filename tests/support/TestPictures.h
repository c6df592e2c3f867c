#pragma once

#include <string>

#include <gdk-pixbuf/gdk-pixbuf.h>

// A small PNG: `width` × `height` pixels of one colour.
inline std::string pngPicture(int width = 4, int height = 4) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, true, 8, width, height);
    gdk_pixbuf_fill(pixbuf, 0x3366CCFF);
    gchar* buffer = nullptr;
    gsize size = 0;
    gdk_pixbuf_save_to_buffer(pixbuf, &buffer, &size, "png", nullptr, nullptr);
    std::string bytes(buffer, size);
    g_free(buffer);
    g_object_unref(pixbuf);
    return bytes;
}
