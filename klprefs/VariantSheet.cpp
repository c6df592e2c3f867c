#include "VariantSheet.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>

#include <Foundation/DeviceRoot.h>
#include <render/SDKCanvas.h>
#include <render/SDKTextPainter.h>

#include "HostError.h"
#include "PNGCodec.h"
#include "ProcessPool.h"
#include "ScratchDeviceRoot.h"
#include "ScratchPreferences.h"

namespace {

// Around and between the pictures, and the band of each label, in points of
// the sheet's scale.
constexpr double kMargin = 24;
constexpr double kLabelHeight = 28;
constexpr double kLabelSize = 15;
constexpr CGColor kBackground{0.898, 0.898, 0.918, 1};
constexpr CGColor kLabelColor{0.114, 0.114, 0.122, 1};

// A page's pixels as a child sends them: "P", its width and height, then its
// rows; or "E" and why it could not be drawn.
std::string pixelsMessage(cairo_surface_t* image) {
    const int width = cairo_image_surface_get_width(image);
    const int height = cairo_image_surface_get_height(image);
    const int stride = cairo_image_surface_get_stride(image);
    std::string message = "P";
    message.append(reinterpret_cast<const char*>(&width), sizeof width);
    message.append(reinterpret_cast<const char*>(&height), sizeof height);
    const unsigned char* data = cairo_image_surface_get_data(image);
    for (int y = 0; y < height; ++y) {
        message.append(reinterpret_cast<const char*>(data + static_cast<size_t>(y) * stride),
                       static_cast<size_t>(width) * 4);
    }
    return message;
}

PNGCodec::Image readPixels(const std::string& message) {
    PNGCodec::Image none(nullptr, &cairo_surface_destroy);
    int width = 0, height = 0;
    if (message.size() < 1 + 2 * sizeof(int) || message[0] != 'P') {
        return none;
    }
    std::memcpy(&width, message.data() + 1, sizeof width);
    std::memcpy(&height, message.data() + 1 + sizeof width, sizeof height);
    const size_t header = 1 + 2 * sizeof(int);
    if (width <= 0 || height <= 0 ||
        message.size() != header + static_cast<size_t>(width) * height * 4) {
        return none;
    }
    PNGCodec::Image image(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height),
                          &cairo_surface_destroy);
    cairo_surface_flush(image.get());
    unsigned char* data = cairo_image_surface_get_data(image.get());
    const int stride = cairo_image_surface_get_stride(image.get());
    for (int y = 0; y < height; ++y) {
        std::memcpy(data + static_cast<size_t>(y) * stride,
                    message.data() + header + static_cast<size_t>(y) * width * 4,
                    static_cast<size_t>(width) * 4);
    }
    cairo_surface_mark_dirty(image.get());
    return image;
}

// Draws the page in one variant, in the child; a command that only looks,
// so the device root is left as it was.
std::string drawInChild(const CommandLine& line, PageHost::Settings settings,
                        const Variant& variant) {
    try {
        std::unique_ptr<ScratchDeviceRoot> scratch;
        std::unique_ptr<ScratchPreferences> preferences;
        if (line.deviceRoot) {
            DeviceRoot::setPath(settings.deviceRoot);
            preferences = std::make_unique<ScratchPreferences>();
        } else {
            scratch = std::make_unique<ScratchDeviceRoot>(ScratchDeviceRoot::builtInExample());
            settings.deviceRoot = scratch->path();
        }
        settings.look = variant.look;
        PageHost host(settings);
        host.settleAfterBackgroundWork();
        std::string error;
        SDKPageRenderer::Image image =
            SDKPageRenderer(host.window(), variant.scale).makeImage(&error);
        return image ? pixelsMessage(image.get()) : "E" + error;
    } catch (const std::exception& error) {
        return std::string("E") + error.what();
    }
}

} // namespace

void VariantSheet::write(const CommandLine& line, const PageHost::Settings& settings) {
    const double scale = line.scaleGiven ? line.scale : kDefaultScale;
    const std::vector<Variant> variants = line.variants.variants(line.look, scale, true);
    std::vector<PNGCodec::Image> pages;
    for (size_t i = 0; i < variants.size(); ++i) {
        pages.emplace_back(nullptr, &cairo_surface_destroy);
    }
    std::string failure;
    ProcessPool::run(
        variants.size(), line.jobs ? line.jobs : ProcessPool::cores(),
        [&](size_t index) { return drawInChild(line, settings, variants[index]); },
        [&](size_t index, ProcessPool::Outcome outcome) {
            pages[index] = readPixels(outcome.output);
            if (!pages[index] && failure.empty()) {
                const std::string why = outcome.abnormalEnd ? *outcome.abnormalEnd
                                        : !outcome.output.empty() && outcome.output[0] == 'E'
                                            ? outcome.output.substr(1)
                                            : "no picture came back";
                failure = (variants[index].name.empty() ? "the page"
                                                        : "the variant " + variants[index].name) +
                          ": " + why;
            }
        });
    if (!failure.empty()) {
        throw HostError(HostError::Kind::Load, failure);
    }

    // Each column as wide as its widest page, each row as tall as its tallest.
    const size_t columns = line.variants.columns();
    const size_t rows = (variants.size() + columns - 1) / columns;
    std::vector<double> widths(columns, 0), heights(rows, 0);
    for (size_t i = 0; i < pages.size(); ++i) {
        widths[i % columns] =
            std::max<double>(widths[i % columns], cairo_image_surface_get_width(pages[i].get()));
        heights[i / columns] =
            std::max<double>(heights[i / columns], cairo_image_surface_get_height(pages[i].get()));
    }
    const double margin = kMargin * scale, label = kLabelHeight * scale;
    double width = margin, height = margin;
    for (double column : widths) {
        width += column + margin;
    }
    for (double row : heights) {
        height += label + row + margin;
    }
    if (width > SDKPageRenderer::kMaximumPixels || height > SDKPageRenderer::kMaximumPixels) {
        throw HostError(HostError::Kind::Output,
                        "the sheet would be " + std::to_string(static_cast<long>(width)) + " by " +
                            std::to_string(static_cast<long>(height)) +
                            " pixels, more than a picture can hold; draw it at a smaller "
                            "--scale or with fewer variants");
    }
    PNGCodec::Image sheet(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width),
                                                     static_cast<int>(height)),
                          &cairo_surface_destroy);
    cairo_t* cairo = cairo_create(sheet.get());
    SDKCanvas canvas(cairo, scale);
    canvas.fillRect(CGRectMake(0, 0, width, height), kBackground);
    SDKTextPainter text(canvas);
    SDKTextStyle style;
    style.fontSize = kLabelSize;
    style.weight = UIFont::Weight::Semibold;
    style.color = kLabelColor;
    double top = margin;
    for (size_t row = 0; row < rows; ++row) {
        double left = margin;
        for (size_t column = 0; column < columns; ++column) {
            const size_t index = row * columns + column;
            if (index < pages.size()) {
                const std::string& name = variants[index].name;
                {
                    SDKCanvas::State state(canvas);
                    cairo_scale(cairo, scale, scale);
                    text.drawText(name.empty() ? "page" : name, style,
                                  CGRectMake(left / scale, top / scale, widths[column] / scale,
                                             kLabelHeight));
                }
                cairo_set_source_surface(cairo, pages[index].get(), left, top + label);
                cairo_paint(cairo);
            }
            left += widths[column] + margin;
        }
        top += label + heights[row] + margin;
    }
    cairo_destroy(cairo);
    cairo_surface_flush(sheet.get());

    std::string error;
    const std::string bytes = PNGCodec::encode(sheet.get(), &error);
    std::ofstream file(*line.output, std::ios::binary | std::ios::trunc);
    file << bytes;
    file.close();
    if (bytes.empty() || !file) {
        throw HostError(HostError::Kind::Output, bytes.empty() ? error
                                                               : "cannot write " + *line.output +
                                                                     ": " + std::strerror(errno));
    }
}
