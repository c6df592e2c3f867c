#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <Foundation/Value.h>
#include <QuartzCore/CGGeometry.h>
#include <objc/NSObject.h>

// An image: either decoded pixels (PNG, JPEG and the other formats
// gdk-pixbuf reads) or a system symbol drawn from our own glyph catalogue in
// the tint of the view that shows it.
class UIImage : public NSObject {
public:
    // Premultiplied-free RGBA pixels, row after row.
    struct Bitmap {
        int width = 0;
        int height = 0;
        std::vector<uint8_t> rgba;
    };

    // A system symbol by its platform name; nil for a name the catalogue lacks.
    static Ref<UIImage> systemImageNamed(const std::optional<std::string>& name);
    // An image file by device path; nil when it is missing or not an image.
    static Ref<UIImage> imageNamed(const std::optional<std::string>& path);
    static Ref<UIImage> imageWithContentsOfFile(const std::optional<std::string>& path);
    // Decodes image data; nil when the bytes are not an image.
    static Ref<UIImage> imageWithData(const NSData& data);

    // An image of decoded pixels, one point per pixel.
    Ref<UIImage> initWithBitmap(std::shared_ptr<const Bitmap> bitmap);

    // The names of the system symbols the catalogue draws.
    static const std::vector<std::string>& systemSymbolNames();

    bool isSymbolImage() const { return _symbolName.has_value(); }
    const std::optional<std::string>& symbolName() const { return _symbolName; }
    // Decoded pixels; null for a symbol image.
    std::shared_ptr<const Bitmap> bitmap() const { return _bitmap; }
    // In points: a symbol's default size, or the pixel size of a decoded image.
    CGSize size() const { return _size; }

private:
    std::optional<std::string> _symbolName;
    std::shared_ptr<const Bitmap> _bitmap;
    CGSize _size;
};
