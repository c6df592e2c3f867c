#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <Foundation/Value.h>
#include <QuartzCore/CGGeometry.h>
#include <objc/NSObject.h>

class NSBundle;

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
    // Reads only a regular file of at most kMaximumFileSize bytes.
    static Ref<UIImage> imageWithContentsOfFile(const std::optional<std::string>& path);
    // An image file of a bundle by name ("icon" or "icon.png"; PNG when no
    // type is given), its @3x or @2x version first at that many pixels per
    // point; nil when none is a readable image file of at most
    // kMaximumFileSize bytes, or the name leaves the bundle.
    static Ref<UIImage> imageNamed(const std::optional<std::string>& name,
                                   const Ref<NSBundle>& bundle);
    // Decodes image data; nil when the bytes are not an image or declare
    // more than kMaximumPixelCount pixels, which is refused before any pixel
    // memory is taken.
    static Ref<UIImage> imageWithData(const NSData& data);

    // An image of decoded pixels, `scale` pixels per point.
    Ref<UIImage> initWithBitmap(std::shared_ptr<const Bitmap> bitmap, CGFloat scale = 1);

    // The names of the system symbols the catalogue draws.
    static const std::vector<std::string>& systemSymbolNames();

    bool isSymbolImage() const { return _symbolName.has_value(); }
    const std::optional<std::string>& symbolName() const { return _symbolName; }
    // Decoded pixels; null for a symbol image.
    std::shared_ptr<const Bitmap> bitmap() const { return _bitmap; }
    // In points: a symbol's default size, or the pixel size of a decoded
    // image divided by its scale.
    CGSize size() const { return _size; }
    CGFloat scale() const { return _scale; }

    static constexpr size_t kMaximumFileSize = 8 * 1024 * 1024;
    // 4096 × 4096: 64 MiB of decoded pixels.
    static constexpr long long kMaximumPixelCount = 4096LL * 4096;

private:
    std::optional<std::string> _symbolName;
    std::shared_ptr<const Bitmap> _bitmap;
    CGSize _size;
    CGFloat _scale = 1;
};
