#include <render/SDKColorPickerScreenLook.h>

#include <algorithm>
#include <cmath>

#include <render/SDKDescription.h>
#include <render/SDKViewPainter.h>

namespace {

constexpr CGFloat kMargin = 16;

CGColor fromHSV(double hue, double saturation, double value) {
    const double h = std::fmod(hue, 1.0) * 6;
    const int sector = static_cast<int>(h);
    const double f = h - sector;
    const double p = value * (1 - saturation);
    const double q = value * (1 - saturation * f);
    const double t = value * (1 - saturation * (1 - f));
    switch (sector) {
    case 0:
        return {value, t, p, 1};
    case 1:
        return {q, value, p, 1};
    case 2:
        return {p, value, t, 1};
    case 3:
        return {p, q, value, 1};
    case 4:
        return {t, p, value, 1};
    default:
        return {value, p, q, 1};
    }
}

// The squares that show through a translucent colour.
void checkerboard(SDKCanvas& canvas, const CGRect& rect, CGFloat square) {
    canvas.fillRect(rect, CGColor{1, 1, 1, 1});
    const CGColor grey{0.8, 0.8, 0.8, 1};
    for (CGFloat y = rect.origin.y, row = 0; y < CGRectGetMaxY(rect); y += square, ++row) {
        for (CGFloat x = rect.origin.x + (static_cast<int>(row) % 2) * square;
             x < CGRectGetMaxX(rect); x += 2 * square) {
            canvas.fillRect(CGRectMake(x, y, std::min(square, CGRectGetMaxX(rect) - x),
                                       std::min(square, CGRectGetMaxY(rect) - y)),
                            grey);
        }
    }
}

void closeButton(SDKCanvas& canvas, CGPoint center) {
    cairo_t* cairo = canvas.cairo();
    canvas.setColor(*UIColor::tertiarySystemFillColor()->CGColor());
    cairo_arc(cairo, center.x, center.y, 15, 0, 2 * M_PI);
    cairo_fill(cairo);
    canvas.setColor(*UIColor::secondaryLabelColor()->CGColor());
    cairo_set_line_width(cairo, 2.2);
    cairo_set_line_cap(cairo, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cairo, center.x - 5, center.y - 5);
    cairo_line_to(cairo, center.x + 5, center.y + 5);
    cairo_move_to(cairo, center.x + 5, center.y - 5);
    cairo_line_to(cairo, center.x - 5, center.y + 5);
    cairo_stroke(cairo);
}

// "Grid | Spectrum | Sliders", with the grid chosen.
CGFloat segments(SDKViewPainter& painter, const CGRect& area) {
    SDKCanvas& canvas = painter.canvas();
    const CGRect control = CGRectMake(area.origin.x, area.origin.y, area.size.width, 32);
    canvas.fillRoundedRect(control, 9, *UIColor::tertiarySystemFillColor()->CGColor());
    const CGFloat width = control.size.width / 3;
    canvas.fillRoundedRect(CGRectMake(control.origin.x + 2, control.origin.y + 2, width - 4, 28), 7,
                           CGColor{1, 1, 1, 1});
    const char* titles[] = {"Grid", "Spectrum", "Sliders"};
    SDKTextStyle style;
    style.fontSize = 13;
    style.alignment = NSTextAlignmentCenter;
    for (int i = 0; i < 3; ++i) {
        style.weight = i == 0 ? UIFont::Weight::Bold : UIFont::Weight::Regular;
        painter.text().drawText(
            titles[i], style,
            CGRectMake(control.origin.x + i * width, control.origin.y, width, control.size.height));
    }
    return CGRectGetMaxY(control);
}

CGFloat grid(SDKCanvas& canvas, const CGRect& area) {
    const CGFloat cell = area.size.width / SDKColorPickerScreenLook::kGridColumns;
    const CGRect whole = CGRectMake(area.origin.x, area.origin.y, area.size.width,
                                    cell * SDKColorPickerScreenLook::kGridRows);
    SDKCanvas::State state(canvas);
    canvas.clipToRoundedRect(whole, 8);
    for (int row = 0; row < SDKColorPickerScreenLook::kGridRows; ++row) {
        for (int column = 0; column < SDKColorPickerScreenLook::kGridColumns; ++column) {
            // A hair wider than the cell, so no seams show between squares.
            canvas.fillRect(CGRectMake(area.origin.x + column * cell, area.origin.y + row * cell,
                                       cell + 0.5, cell + 0.5),
                            SDKColorPickerScreenLook::gridColor(column, row));
        }
    }
    return CGRectGetMaxY(whole);
}

CGFloat opacity(SDKViewPainter& painter, const CGRect& area, const CGColor& color) {
    SDKCanvas& canvas = painter.canvas();
    SDKTextStyle caption;
    caption.fontSize = 13;
    caption.color = *UIColor::secondaryLabelColor()->CGColor();
    painter.text().drawText("OPACITY", caption,
                            CGRectMake(area.origin.x, area.origin.y, area.size.width, 18));
    const CGRect track = CGRectMake(area.origin.x, area.origin.y + 24, area.size.width - 90, 36);
    {
        SDKCanvas::State state(canvas);
        canvas.clipToRoundedRect(track, 18);
        checkerboard(canvas, track, 6);
        cairo_pattern_t* gradient =
            cairo_pattern_create_linear(track.origin.x, 0, CGRectGetMaxX(track), 0);
        cairo_pattern_add_color_stop_rgba(gradient, 0, color.red, color.green, color.blue, 0);
        cairo_pattern_add_color_stop_rgba(gradient, 1, color.red, color.green, color.blue, 1);
        cairo_set_source(canvas.cairo(), gradient);
        cairo_paint(canvas.cairo());
        cairo_pattern_destroy(gradient);
    }
    const CGFloat alpha = std::clamp(color.alpha, 0.0, 1.0);
    const CGFloat x = track.origin.x + 18 + alpha * (track.size.width - 36);
    canvas.fillRoundedRect(CGRectMake(x - 15, CGRectGetMidY(track) - 15, 30, 30), 15,
                           CGColor{1, 1, 1, 1});
    canvas.fillInnerBorder(CGRectMake(x - 15, CGRectGetMidY(track) - 15, 30, 30), 15, 1,
                           CGColor{0, 0, 0, 0.15});
    const CGRect percent = CGRectMake(CGRectGetMaxX(track) + 12, track.origin.y, 78, 36);
    canvas.fillRoundedRect(percent, 8, *UIColor::tertiarySystemFillColor()->CGColor());
    SDKTextStyle value;
    value.alignment = NSTextAlignmentCenter;
    painter.text().drawText(std::to_string(static_cast<int>(std::lround(alpha * 100))) + "%", value,
                            percent);
    return CGRectGetMaxY(track);
}

} // namespace

CGColor SDKColorPickerScreenLook::gridColor(int column, int row) {
    if (row == 0) {
        const double white = 1.0 - column / static_cast<double>(kGridColumns - 1);
        return {white, white, white, 1};
    }
    const double hue = column / static_cast<double>(kGridColumns);
    const double t = (row - 1) / static_cast<double>(kGridRows - 2);
    // Dark shades first, full colour in the middle, pale tints last.
    const double value = t < 0.45 ? 0.3 + 0.7 * t / 0.45 : 1.0;
    const double saturation = t < 0.45 ? 1.0 : 1.0 - 0.75 * (t - 0.45) / 0.55;
    return fromHSV(hue, saturation, value);
}

bool SDKColorPickerScreenLook::matches(const UIViewController& controller) const {
    return dynamic_cast<const UIColorPickerViewController*>(&controller) != nullptr;
}

void SDKColorPickerScreenLook::draw(UIViewController& controller, SDKViewPainter& painter,
                                    const CGRect& screen) const {
    auto& picker = dynamic_cast<UIColorPickerViewController&>(controller);
    SDKCanvas& canvas = painter.canvas();
    const CGRect content = drawSheet(picker, painter, screen);
    const CGRect sheet = sheetFrame(screen);
    closeButton(canvas, CGPointMake(CGRectGetMaxX(sheet) - kMargin - 15, sheet.origin.y + 33));

    const CGFloat width = content.size.width - 2 * kMargin;
    const CGFloat x = content.origin.x + kMargin;
    CGFloat y = content.origin.y + 8;
    y = segments(painter, CGRectMake(x, y, width, 32)) + 20;
    y = grid(canvas, CGRectMake(x, y, width, 0)) + 24;
    const CGColor selected = *picker.selectedColor()->CGColor();
    if (picker.supportsAlpha()) {
        y = opacity(painter, CGRectMake(x, y, width, 60), selected) + 24;
    }
    canvas.fillRect(CGRectMake(x, y, width, canvas.hairline()),
                    *UIColor::separatorColor()->CGColor());
    const CGRect swatch = CGRectMake(x, y + 16, 66, 66);
    SDKCanvas::State state(canvas);
    canvas.clipToRoundedRect(swatch, 10);
    checkerboard(canvas, swatch, 8);
    canvas.fillRect(swatch, selected);
}

void SDKColorPickerScreenLook::describe(UIViewController& controller,
                                        Value::Dictionary& description) const {
    SDKScreenLook::describe(controller, description);
    auto& picker = dynamic_cast<UIColorPickerViewController&>(controller);
    description["kind"] = "colorPicker";
    description["selectedColor"] = SDKDescription::color(picker.selectedColor());
    description["supportsAlpha"] = picker.supportsAlpha();
}
