#include <QuartzCore/CGColor.h>
#include <QuartzCore/CGGeometry.h>
#include <render/SDKCanvas.h>
#include <render/SDKSymbolCatalogue.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

constexpr double kGrid = 24;
constexpr double kDegree = M_PI / 180;

// Draws a glyph's shapes: ink where fill and stroke put it, and holes where
// cut takes it away again, inside a group composited in the symbol's colour.
class Pen {
public:
    explicit Pen(cairo_t* cairo) : _cairo(cairo) {
        cairo_set_line_cap(_cairo, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(_cairo, CAIRO_LINE_JOIN_ROUND);
    }
    cairo_t* cairo() const { return _cairo; }

    void fill() { paint(CAIRO_OPERATOR_OVER, 0); }
    void cut() { paint(CAIRO_OPERATOR_DEST_OUT, 0); }
    void stroke(double width) { paint(CAIRO_OPERATOR_OVER, width); }
    void cutStroke(double width) { paint(CAIRO_OPERATOR_DEST_OUT, width); }

    void circle(double x, double y, double radius) {
        cairo_new_sub_path(_cairo);
        cairo_arc(_cairo, x, y, radius, 0, 2 * M_PI);
    }
    void roundedRect(double x, double y, double width, double height, double radius) {
        cairo_new_sub_path(_cairo);
        cairo_arc(_cairo, x + width - radius, y + radius, radius, -90 * kDegree, 0);
        cairo_arc(_cairo, x + width - radius, y + height - radius, radius, 0, 90 * kDegree);
        cairo_arc(_cairo, x + radius, y + height - radius, radius, 90 * kDegree, 180 * kDegree);
        cairo_arc(_cairo, x + radius, y + radius, radius, 180 * kDegree, 270 * kDegree);
        cairo_close_path(_cairo);
    }
    void line(std::initializer_list<std::pair<double, double>> points) {
        bool first = true;
        for (auto [x, y] : points) {
            if (first) {
                cairo_move_to(_cairo, x, y);
                first = false;
            } else {
                cairo_line_to(_cairo, x, y);
            }
        }
    }
    // The top half of an ellipse, as a person's shoulders.
    void shoulders(double x, double y, double rx, double ry) {
        cairo_save(_cairo);
        cairo_translate(_cairo, x, y);
        cairo_scale(_cairo, rx, ry);
        cairo_new_sub_path(_cairo);
        cairo_arc(_cairo, 0, 0, 1, M_PI, 2 * M_PI);
        cairo_close_path(_cairo);
        cairo_restore(_cairo);
    }
    // A round badge at the lower right, set apart from the glyph by a gap.
    void badge(double x, double y) {
        circle(x, y, 6);
        cut();
        circle(x, y, 4.8);
        fill();
    }

private:
    void paint(cairo_operator_t op, double width) {
        cairo_set_operator(_cairo, op);
        if (width > 0) {
            cairo_set_line_width(_cairo, width);
            cairo_stroke(_cairo);
        } else {
            cairo_fill(_cairo);
        }
    }

    cairo_t* _cairo;
};

void checkmark(Pen& pen, double x, double y, double size) {
    pen.line({{x - 0.42 * size, y + 0.02 * size},
              {x - 0.12 * size, y + 0.32 * size},
              {x + 0.42 * size, y - 0.3 * size}});
}

void circleGlyph(Pen& pen) {
    pen.circle(12, 12, 10);
    pen.stroke(1.9);
}

void checkmarkCircleFill(Pen& pen) {
    pen.circle(12, 12, 10.8);
    pen.fill();
    checkmark(pen, 12, 12, 11);
    pen.cutStroke(2.2);
}

void checkmarkCircle(Pen& pen) {
    pen.circle(12, 12, 10);
    pen.stroke(1.9);
    checkmark(pen, 12, 12, 10);
    pen.stroke(1.9);
}

void personCropSquareFill(Pen& pen) {
    pen.roundedRect(2, 2, 20, 20, 4.5);
    pen.fill();
    pen.circle(12, 9.6, 3.9);
    pen.cut();
    pen.shoulders(12, 22.4, 7.6, 7);
    pen.cut();
}

void dollarsignCircleFill(Pen& pen) {
    pen.circle(12, 12, 10.8);
    pen.fill();
    // The S: two loops meeting at the centre, and the bar through them.
    cairo_t* cairo = pen.cairo();
    cairo_new_sub_path(cairo);
    cairo_arc_negative(cairo, 12, 9.4, 2.6, -35 * kDegree, 90 * kDegree);
    cairo_arc(cairo, 12, 14.6, 2.6, -90 * kDegree, 145 * kDegree);
    pen.cutStroke(1.9);
    pen.line({{12, 5.2}, {12, 18.8}});
    pen.cutStroke(1.5);
}

void squareAndArrowUp(Pen& pen) {
    pen.line({{8.5, 9.5}, {5.5, 9.5}, {5.5, 21.5}, {18.5, 21.5}, {18.5, 9.5}, {15.5, 9.5}});
    pen.stroke(1.8);
    pen.line({{12, 2.5}, {12, 15}});
    pen.stroke(1.8);
    pen.line({{8.3, 6.2}, {12, 2.5}, {15.7, 6.2}});
    pen.stroke(1.8);
}

void personCropCircleBadgePlus(Pen& pen) {
    pen.circle(10.5, 11.5, 9);
    pen.stroke(1.7);
    pen.circle(10.5, 9, 3.3);
    pen.fill();
    cairo_t* cairo = pen.cairo();
    cairo_save(cairo);
    pen.circle(10.5, 11.5, 9);
    cairo_clip(cairo);
    pen.shoulders(10.5, 19.6, 6.2, 4.6);
    pen.fill();
    cairo_restore(cairo);
    pen.badge(18.3, 18.3);
    pen.line({{18.3, 16}, {18.3, 20.6}});
    pen.cutStroke(1.6);
    pen.line({{16, 18.3}, {20.6, 18.3}});
    pen.cutStroke(1.6);
}

void envelope(Pen& pen) {
    pen.roundedRect(2.5, 5.5, 19, 13, 2.2);
    pen.stroke(1.8);
    pen.line({{3.6, 7}, {12, 13.4}, {20.4, 7}});
    pen.stroke(1.8);
}

void bubbleLeftAndBubbleRight(Pen& pen) {
    pen.roundedRect(9, 3, 13, 9.5, 4.2);
    pen.line({{18.5, 12}, {21.5, 15.2}, {15.5, 12}});
    pen.fill();
    // The front bubble, with a gap around it.
    auto front = [&pen] {
        pen.roundedRect(2, 8, 14, 10, 4.5);
        pen.line({{4.2, 17}, {2.6, 21.2}, {8.6, 17.6}});
    };
    front();
    pen.cutStroke(2.6);
    front();
    pen.fill();
}

void shippingboxFill(Pen& pen) {
    pen.line({{12, 2}, {21, 6.5}, {21, 17.5}, {12, 22}, {3, 17.5}, {3, 6.5}});
    cairo_close_path(pen.cairo());
    pen.fill();
    pen.line({{3.2, 6.6}, {12, 11}, {20.8, 6.6}});
    pen.cutStroke(1.3);
    pen.line({{12, 11}, {12, 21.8}});
    pen.cutStroke(1.3);
    pen.line({{7.5, 4.3}, {16.5, 8.8}, {16.5, 12.5}});
    pen.cutStroke(1.3);
}

void gearBadgeCheckmark(Pen& pen) {
    cairo_t* cairo = pen.cairo();
    const double cx = 10.8, cy = 11.2;
    cairo_new_sub_path(cairo);
    for (int i = 0; i < 16; ++i) {
        const bool tooth = i % 2 == 0;
        const double radius = tooth ? 9.6 : 7.4;
        const double half = (tooth ? 7.5 : 10) * kDegree;
        const double angle = i * 22.5 * kDegree;
        cairo_line_to(cairo, cx + radius * std::cos(angle - half),
                      cy + radius * std::sin(angle - half));
        cairo_line_to(cairo, cx + radius * std::cos(angle + half),
                      cy + radius * std::sin(angle + half));
    }
    cairo_close_path(cairo);
    pen.fill();
    pen.circle(cx, cy, 3.2);
    pen.cut();
    pen.badge(18.3, 18.3);
    checkmark(pen, 18.3, 18.3, 5.2);
    pen.cutStroke(1.5);
}

// A dot at the bottom and two bands above it, fanning upwards.
void wifi(Pen& pen) {
    cairo_t* cairo = pen.cairo();
    const double cx = 12, cy = 19.5;
    cairo_move_to(cairo, cx, cy);
    cairo_arc(cairo, cx, cy, 4.2, -135 * kDegree, -45 * kDegree);
    cairo_close_path(cairo);
    pen.fill();
    for (const double radius : {9.0, 14.2}) {
        cairo_new_sub_path(cairo);
        cairo_arc(cairo, cx, cy, radius, -134 * kDegree, -46 * kDegree);
        pen.stroke(2.6);
    }
}

using Glyph = void (*)(Pen&);

const std::map<std::string, Glyph>& glyphs() {
    static const std::map<std::string, Glyph> table = {
        {"circle", circleGlyph},
        {"checkmark.circle.fill", checkmarkCircleFill},
        {"checkmark.circle", checkmarkCircle},
        {"person.crop.square.fill", personCropSquareFill},
        {"dollarsign.circle.fill", dollarsignCircleFill},
        {"square.and.arrow.up", squareAndArrowUp},
        {"person.crop.circle.badge.plus", personCropCircleBadgePlus},
        {"envelope", envelope},
        {"bubble.left.and.bubble.right", bubbleLeftAndBubbleRight},
        {"shippingbox.fill", shippingboxFill},
        {"gear.badge.checkmark", gearBadgeCheckmark},
        {"wifi", wifi},
    };
    return table;
}

} // namespace

const std::vector<std::string>& SDKSymbolCatalogue::names() {
    static const std::vector<std::string> list = [] {
        std::vector<std::string> all;
        for (const auto& [name, glyph] : glyphs()) {
            all.push_back(name);
        }
        return all;
    }();
    return list;
}

bool SDKSymbolCatalogue::drawSymbol(const std::string& name, SDKCanvas& canvas, const CGRect& box,
                                    const CGColor& color) {
    auto found = glyphs().find(name);
    if (found == glyphs().end()) {
        return false;
    }
    const double size = std::min(box.size.width, box.size.height);
    if (size <= 0 || color.alpha <= 0) {
        return true;
    }
    cairo_t* cairo = canvas.cairo();
    SDKCanvas::State state(canvas);
    cairo_translate(cairo, CGRectGetMidX(box) - size / 2, CGRectGetMidY(box) - size / 2);
    cairo_scale(cairo, size / kGrid, size / kGrid);
    // The group is as large as the clip: clipped to the glyph's square (with
    // room for strokes that reach past it), it costs the glyph's area, not
    // the whole page's.
    cairo_rectangle(cairo, -kGrid / 2, -kGrid / 2, 2 * kGrid, 2 * kGrid);
    cairo_clip(cairo);
    cairo_push_group(cairo);
    // Opaque ink inside the group, so that cuts remove it wholly; the
    // colour's own alpha applies when the group is composited.
    canvas.setColor(CGColor{color.red, color.green, color.blue, 1});
    Pen pen(cairo);
    found->second(pen);
    cairo_pop_group_to_source(cairo);
    cairo_paint_with_alpha(cairo, std::clamp(color.alpha, 0.0, 1.0));
    return true;
}
