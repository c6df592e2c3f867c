#include "DrawnPageRules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <dlfcn.h>
#include <filesystem>
#include <map>
#include <regex>

#include <Foundation/SDKEventLog.h>
#include <Preferences/PSTableCell.h>
#include <UIKit/NSIndexPath.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIControl.h>
#include <UIKit/UILabel.h>
#include <UIKit/UITableViewCell.h>
#include <UIKit/UIWindow.h>
#include <render/SDKCanvas.h>
#include <render/SDKLabelLook.h>
#include <render/SDKTableViewLook.h>

namespace {

// How far a view or a text may reach past its row before it counts, in
// points: less than a pixel at every scale shows nothing.
constexpr CGFloat kTolerance = 1;
// The share of a text's area that must have too little contrast: a text
// whose picture behind it is light in a fifth of its area is hard to read.
constexpr double kContrastQuantile = 0.2;

double linear(double component) {
    return component <= 0.04045 ? component / 12.92 : std::pow((component + 0.055) / 1.055, 2.4);
}

double luminance(const CGColor& color) {
    return 0.2126 * linear(color.red) + 0.7152 * linear(color.green) + 0.0722 * linear(color.blue);
}

CGColor over(const CGColor& top, const CGColor& below) {
    const double a = top.alpha;
    return CGColor{top.red * a + below.red * (1 - a), top.green * a + below.green * (1 - a),
                   top.blue * a + below.blue * (1 - a), 1};
}

CGRect intersection(const CGRect& a, const CGRect& b) {
    const CGFloat left = std::max(a.origin.x, b.origin.x);
    const CGFloat top = std::max(a.origin.y, b.origin.y);
    const CGFloat right = std::min(a.origin.x + a.size.width, b.origin.x + b.size.width);
    const CGFloat bottom = std::min(a.origin.y + a.size.height, b.origin.y + b.size.height);
    return CGRectMake(left, top, std::max<CGFloat>(0, right - left),
                      std::max<CGFloat>(0, bottom - top));
}

bool isEmpty(const CGRect& rect) {
    return rect.size.width <= 0 || rect.size.height <= 0;
}

// How far `inner` reaches out of `outer`, in points.
CGFloat overhang(const CGRect& inner, const CGRect& outer) {
    return std::max({outer.origin.x - inner.origin.x, outer.origin.y - inner.origin.y,
                     inner.origin.x + inner.size.width - outer.origin.x - outer.size.width,
                     inner.origin.y + inner.size.height - outer.origin.y - outer.size.height,
                     CGFloat(0)});
}

std::string points(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", value);
    return text;
}

std::string ratio(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f:1", std::floor(value * 10) / 10);
    return text;
}

// The item's key whose text (or one of whose list of texts) a view shows,
// when one does.
std::optional<std::string> keyShowing(const Ref<PSSpecifier>& specifier, const std::string& text) {
    if (specifier->name() == text) {
        return "label";
    }
    for (const auto& [key, value] : specifier->properties()) {
        if (value.optionalString() == text) {
            return key;
        }
    }
    for (const auto& [key, value] : specifier->properties()) {
        const Value::Array* list = value.array();
        if (list && std::any_of(list->begin(), list->end(), [&](const Value& entry) {
                return PSTableCell::textForValue(entry) == text;
            })) {
            return key;
        }
    }
    return std::nullopt;
}

// Whether the cell's class comes from the rows' library, whose colours no
// bundle chooses.
bool fromRowsLibrary(const UIView& cell) {
    Dl_info info{};
    return dladdr(cell.objcClass(), &info) != 0 && info.dli_fname &&
           std::filesystem::path(info.dli_fname).filename().string().rfind("libklcommon", 0) == 0;
}

bool isConflict(const std::string& message) {
    return message.rfind("Unable to simultaneously satisfy constraints", 0) == 0 ||
           message.rfind("Unable to activate constraint", 0) == 0;
}

// The constraint the layout broke, from its message.
std::string brokenConstraint(const std::string& message) {
    const std::string marker = "breaking constraint\n";
    const size_t found = message.rfind(marker);
    std::string line = found == std::string::npos ? message : message.substr(found + marker.size());
    // Without the objects' addresses, which differ from run to run.
    static const std::regex address(":0x[0-9a-fA-F]+");
    return std::regex_replace(line.substr(0, line.find('\n')), address, "");
}

size_t conflictCount(size_t since) {
    size_t count = 0;
    for (const SDKEvents::Error& error : SDKEventLog::records<SDKEvents::Error>(since)) {
        if (isConflict(error.message)) {
            ++count;
        }
    }
    return count;
}

double millisecondsSince(double start) {
    return DrawnPageRules::processorMilliseconds() - start;
}

} // namespace

DrawnPageRules::DrawnPageRules(CheckFindings& findings, std::string variant)
    : _findings(findings), _variant(std::move(variant)),
      _surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1)),
      _cairo(cairo_create(_surface)), _canvas(std::make_unique<SDKCanvas>(_cairo, 1)),
      _painter(std::make_unique<SDKTextPainter>(*_canvas)) {
    _looksWithoutTexts.addStandardLooks();
    _looksWithoutTexts.addViewLook(std::make_unique<SDKTableViewLook>(false));
}

DrawnPageRules::~DrawnPageRules() {
    _painter.reset();
    _canvas.reset();
    cairo_destroy(_cairo);
    cairo_surface_destroy(_surface);
}

double DrawnPageRules::processorMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000 + static_cast<double>(now.tv_nsec) / 1e6;
}

double DrawnPageRules::contrast(const CGColor& first, const CGColor& second) {
    const double a = luminance(first);
    const double b = luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

void DrawnPageRules::add(const Place& place, const std::string& rule, CheckLevel level,
                         const std::string& key, const std::string& subject,
                         const std::string& message) {
    CheckFinding finding;
    if (place.pane) {
        finding =
            place.pane->finding(rule, level, place.item,
                                key.empty() ? std::nullopt : std::optional(key), subject, message);
    } else {
        finding = CheckFinding{rule,    level,   "", std::nullopt, std::nullopt, std::nullopt,
                               subject, message, {}};
    }
    _findings.add(finding, {_variant});
}

DrawnPageRules::Place DrawnPageRules::placeOf(const Ref<PSSpecifier>& specifier,
                                              const PaneFile* pane) const {
    // A list of choices is made from its link's item, whatever its row.
    const Ref<PSSpecifier>& item = _list ? _list : specifier;
    return Place{pane && item ? pane->itemOf(item) : std::nullopt, pane, item};
}

void DrawnPageRules::check(PageHost& host, const PaneFile* pane, double buildMilliseconds,
                           const std::vector<std::string>& conflicts,
                           const Ref<PSSpecifier>& list) {
    _list = list;
    const std::vector<PageHost::Row> rows = host.rows();
    // The page is drawn once without its texts: what lies behind each text.
    std::vector<Ref<UILabel>> hidden;
    std::vector<Ref<UIView>> pending;
    for (const PageHost::Row& row : rows) {
        if (row.cell) {
            pending.push_back(row.cell);
        }
    }
    while (!pending.empty()) {
        Ref<UIView> view = pending.back();
        pending.pop_back();
        if (Ref<UILabel> label = objc_cast<UILabel>(view); label && !label->isHidden()) {
            label->setHidden(true);
            hidden.push_back(label);
        }
        pending.insert(pending.end(), view->subviews().begin(), view->subviews().end());
    }
    SDKPageRenderer renderer(host.window(), 1, _looksWithoutTexts);
    double drawStart = processorMilliseconds();
    _background = renderer.makeImage();
    double drawMilliseconds = millisecondsSince(drawStart);
    if (buildMilliseconds + drawMilliseconds > kSlowPage) {
        // The first text of a script loads its font once for the process: draw again.
        drawStart = processorMilliseconds();
        _background = renderer.makeImage();
        drawMilliseconds = std::min(drawMilliseconds, millisecondsSince(drawStart));
    }
    for (const Ref<UILabel>& label : hidden) {
        label->setHidden(false);
    }

    for (const PageHost::Row& row : rows) {
        if (!row.cell || row.cell->isHidden()) {
            continue;
        }
        const CGRect cellFrame = row.cell->convertRectToView(row.cell->bounds(), nullptr);
        const CGRect clip =
            row.cell->clipsToBounds() ? cellFrame : CGRectMake(-1e6, -1e6, 2e6, 2e6);
        Place place = placeOf(row.specifier, pane);
        place.rowsLibrary = fromRowsLibrary(*row.cell);
        for (const Ref<UIView>& view : row.cell->subviews()) {
            checkView(view, cellFrame, clip, row.cell->alpha(), row.cell->cellEnabled(), place);
        }
    }
    checkSectionTexts(host, pane);
    checkConflicts(host, pane, conflicts);
    checkSpeed(host, pane, renderer, buildMilliseconds + drawMilliseconds);
    _background.reset();
    _list = nullptr;
}

void DrawnPageRules::checkSectionTexts(PageHost& host, const PaneFile* pane) {
    const Ref<PSListController> controller = host.shownController();
    const Ref<UITableView> table = controller->table();
    const std::vector<PSListController::Section>& sections = controller->sections();
    const CGRect nothing = CGRectMake(-1e6, -1e6, 2e6, 2e6);
    for (const SDKTableViewLook::SectionText& section : SDKTableViewLook::sectionTexts(*table)) {
        if (section.text.empty()) {
            continue;
        }
        // The text's item is its group's; its key the one whose words it shows.
        const Ref<PSSpecifier> group =
            section.section < sections.size() ? sections[section.section].group : nullptr;
        const Place place = placeOf(group, pane);
        const UITableView::Section& shown = table->sections()[section.section];
        const std::string title =
            (section.footer ? shown.footerTitle : shown.headerTitle).value_or("");
        std::string key;
        if (place.specifier) {
            key = keyShowing(place.specifier, title).value_or("");
        }
        const CGRect frame = table->convertRectToView(section.box, nullptr);
        checkText({section.text, section.style,
                   CGRectMake(0, 0, section.box.size.width, section.box.size.height), frame, frame,
                   nothing, section.style.color, table->traitCollection(), nullptr, false},
                  place, key);
    }
}

void DrawnPageRules::checkView(const Ref<UIView>& view, const CGRect& cellFrame, const CGRect& clip,
                               double alpha, bool enabled, const Place& place) {
    alpha *= view->alpha();
    if (view->isHidden() || alpha <= 0.01) {
        return;
    }
    const CGRect frame = view->convertRectToView(view->bounds(), nullptr);
    if (Ref<UILabel> label = objc_cast<UILabel>(view)) {
        checkLabel(*label, cellFrame, clip, alpha, enabled, place);
    } else if (const CGRect shown = intersection(frame, clip); !isEmpty(shown)) {
        if (const CGFloat beyond = overhang(shown, cellFrame); beyond > kTolerance) {
            add(place, "overlap", CheckLevel::Warning, "", view->className(),
                "a " + view->className() + " is drawn " + points(beyond) +
                    " points outside its row, over what lies beside it");
        }
    }
    if (Ref<UIControl> control = objc_cast<UIControl>(view); control && !control->isEnabled()) {
        enabled = false;
    }
    const CGRect inner = view->clipsToBounds() ? intersection(clip, frame) : clip;
    for (const Ref<UIView>& subview : view->subviews()) {
        checkView(subview, cellFrame, inner, alpha, enabled, place);
    }
}

void DrawnPageRules::checkLabel(const UILabel& label, const CGRect& cellFrame, const CGRect& clip,
                                double alpha, bool enabled, const Place& place) {
    if (!label.text() || label.text()->empty()) {
        return;
    }
    const std::string& text = *label.text();
    std::string key;
    if (place.specifier) {
        key = keyShowing(place.specifier, text).value_or("");
    }
    CGColor color =
        *label.textColor()->resolvedColorWithTraitCollection(label.traitCollection())->CGColor();
    color.alpha *= alpha;
    checkText({text, SDKLabelLook::textStyle(label), label.bounds(),
               label.convertRectToView(label.bounds(), nullptr), cellFrame, clip, color,
               label.traitCollection(), label.tintColor(), !enabled},
              place, key);
}

void DrawnPageRules::checkText(const DrawnText& drawn, const Place& place, const std::string& key) {
    const std::string& text = drawn.text;
    const SDKTextStyle& style = drawn.style;
    const CGRect& bounds = drawn.bounds;
    const std::string quoted = "\"" + text + "\"";

    // Cut short: an ellipsis, or glyphs outside the view, its row or what clips it.
    const SDKTextPainter::Placement placed = _painter->placeText(text, style, bounds);
    CGRect glyphs = placed.glyphs;
    glyphs.origin.x += drawn.frame.origin.x;
    glyphs.origin.y += drawn.frame.origin.y;
    std::optional<std::string> cut;
    if (placed.ellipsized) {
        cut = "it does not fit its " + points(bounds.size.width) + " by " +
              points(bounds.size.height) + " points and ends in an ellipsis";
    } else if (const CGFloat outside = overhang(placed.glyphs, bounds); outside > kTolerance) {
        cut = "its glyphs reach " + points(outside) + " points outside its view";
    } else if (const CGFloat past =
                   std::max(overhang(glyphs, drawn.row), overhang(glyphs, drawn.clip));
               past > kTolerance) {
        cut = "its glyphs reach " + points(past) + " points past its row";
    }
    if (cut) {
        add(place, "truncated-text", CheckLevel::Error, key, text,
            "the text " + quoted + " is cut short: " + *cut);
    }

    if (drawn.dimmed) {
        return;
    }
    const std::optional<double> measured =
        measuredContrast(drawn.color, intersection(glyphs, drawn.clip));
    if (!measured) {
        return;
    }
    const bool large =
        style.fontSize >= 18 || (style.fontSize >= 14 && style.weight != UIFont::Weight::Regular);
    double needed = large ? 3 : 4.5;
    // The platform's own text colours, and those the rows' library fixes, on
    // the platform's own backgrounds are what every page shows; only less
    // than they give there (a picture behind the text) counts against the page.
    if (const std::optional<double> platform = platformContrast(drawn, place.rowsLibrary)) {
        needed = std::min(needed, *platform - 0.05);
    }
    if (*measured < needed) {
        add(place, "low-contrast", CheckLevel::Error, key, text,
            "the text " + quoted + " has a contrast of " + ratio(*measured) +
                " with what is drawn behind it, below " + ratio(needed));
    }
}

std::optional<double> DrawnPageRules::measuredContrast(const CGColor& text,
                                                       const CGRect& rect) const {
    if (!_background || isEmpty(rect)) {
        return std::nullopt;
    }
    cairo_surface_t* surface = _background.get();
    cairo_surface_flush(surface);
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int left = std::max(0, static_cast<int>(std::floor(rect.origin.x)));
    const int top = std::max(0, static_cast<int>(std::floor(rect.origin.y)));
    const int right = std::min(width, static_cast<int>(std::ceil(rect.origin.x + rect.size.width)));
    const int bottom =
        std::min(height, static_cast<int>(std::ceil(rect.origin.y + rect.size.height)));
    std::vector<double> ratios;
    for (int y = top; y < bottom; ++y) {
        const auto* row =
            reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
        for (int x = left; x < right; ++x) {
            const uint32_t pixel = row[x];
            const double a = ((pixel >> 24) & 0xFF) / 255.0;
            if (a <= 0) {
                continue;
            }
            const CGColor below{((pixel >> 16) & 0xFF) / 255.0 / a,
                                ((pixel >> 8) & 0xFF) / 255.0 / a, (pixel & 0xFF) / 255.0 / a, 1};
            ratios.push_back(contrast(over(text, below), below));
        }
    }
    if (ratios.empty()) {
        return std::nullopt;
    }
    const size_t at =
        static_cast<size_t>(static_cast<double>(ratios.size() - 1) * kContrastQuantile);
    std::nth_element(ratios.begin(), ratios.begin() + static_cast<long>(at), ratios.end());
    return ratios[at];
}

std::optional<double> DrawnPageRules::platformContrast(const DrawnText& drawn,
                                                       bool fixedByRows) const {
    const Ref<UITraitCollection>& traits = drawn.traits;
    const CGColor& text = drawn.color;
    auto resolved = [&](const Ref<UIColor>& color) {
        return *color->resolvedColorWithTraitCollection(traits)->CGColor();
    };
    auto same = [](const CGColor& a, const CGColor& b) {
        return std::abs(a.red - b.red) < 0.004 && std::abs(a.green - b.green) < 0.004 &&
               std::abs(a.blue - b.blue) < 0.004 && std::abs(a.alpha - b.alpha) < 0.004;
    };
    bool platform = fixedByRows || (drawn.tint && same(text, resolved(drawn.tint)));
    for (const Ref<UIColor>& color :
         {UIColor::labelColor(), UIColor::secondaryLabelColor(), UIColor::tertiaryLabelColor(),
          UIColor::placeholderTextColor(), UIColor::linkColor(), UIColor::systemBlueColor(),
          UIColor::systemRedColor(), UIColor::systemGreenColor(), UIColor::systemOrangeColor(),
          UIColor::systemGrayColor()}) {
        platform = platform || same(text, resolved(color));
    }
    if (!platform) {
        return std::nullopt;
    }
    double least = 21;
    for (const Ref<UIColor>& background : {UIColor::systemGroupedBackgroundColor(),
                                           UIColor::secondarySystemGroupedBackgroundColor()}) {
        const CGColor below = resolved(background);
        least = std::min(least, contrast(over(text, below), below));
    }
    return least;
}

void DrawnPageRules::checkConflicts(PageHost& host, const PaneFile* pane,
                                    const std::vector<std::string>& conflicts) {
    if (conflicts.empty()) {
        return;
    }
    // Each row's cell is made again alone, to find whose constraints conflict.
    Ref<PSListController> controller = host.shownController();
    Ref<UITableView> table = controller->table();
    bool found = false;
    std::map<size_t, size_t> rowInSection;
    for (const PageHost::Row& row : host.rows()) {
        const size_t position = rowInSection[row.section]++;
        if (!row.cell) {
            continue;
        }
        const size_t before = SDKEventLog::count();
        const Ref<NSIndexPath> path = NSIndexPath::indexPathForRow(
            static_cast<NSInteger>(position), static_cast<NSInteger>(row.section));
        Ref<UITableViewCell> cell = controller->tableViewCellForRowAtIndexPath(table, path);
        if (!cell) {
            continue;
        }
        Ref<UIWindow> window = alloc<UIWindow>()->initWithFrame(row.cell->bounds());
        window->addSubview(cell);
        cell->setFrame(row.cell->bounds());
        controller->tableViewWillDisplayCell(table, cell, path);
        window->layoutIfNeeded();
        if (conflictCount(before) > 0) {
            found = true;
            std::string message;
            for (const SDKEvents::Error& error : SDKEventLog::records<SDKEvents::Error>(before)) {
                if (isConflict(error.message)) {
                    message = brokenConstraint(error.message);
                    break;
                }
            }
            add(placeOf(row.specifier, pane), "constraint-conflict", CheckLevel::Warning, "",
                "conflict", "the row's constraints conflict; the layout breaks " + message);
        }
        cell->removeFromSuperview();
    }
    if (!found) {
        add(Place{std::nullopt, pane, nullptr}, "constraint-conflict", CheckLevel::Warning, "",
            "conflict",
            "the page's constraints conflict; the layout breaks " +
                brokenConstraint(conflicts.front()));
    }
}

void DrawnPageRules::checkSpeed(PageHost& host, const PaneFile* pane,
                                const SDKPageRenderer& renderer, double milliseconds) {
    if (milliseconds <= kSlowPage) {
        return;
    }
    // The row that costs most: its cell made and laid out alone, and drawn.
    Ref<PSListController> controller = host.shownController();
    Ref<UITableView> table = controller->table();
    std::map<size_t, size_t> rowInSection;
    double most = -1;
    std::optional<PageHost::Row> costliest;
    for (const PageHost::Row& row : host.rows()) {
        const size_t position = rowInSection[row.section]++;
        if (!row.cell) {
            continue;
        }
        const auto start = processorMilliseconds();
        const Ref<NSIndexPath> path = NSIndexPath::indexPathForRow(
            static_cast<NSInteger>(position), static_cast<NSInteger>(row.section));
        if (Ref<UITableViewCell> cell = controller->tableViewCellForRowAtIndexPath(table, path)) {
            Ref<UIWindow> window = alloc<UIWindow>()->initWithFrame(row.cell->bounds());
            window->addSubview(cell);
            cell->setFrame(row.cell->bounds());
            controller->tableViewWillDisplayCell(table, cell, path);
            window->layoutIfNeeded();
            cell->removeFromSuperview();
        }
        renderer.drawRegion(_cairo, row.cell->convertRectToView(row.cell->bounds(), nullptr));
        const double cost = millisecondsSince(start);
        if (cost > most) {
            most = cost;
            costliest = row;
        }
    }
    std::string message = "the page takes " + points(milliseconds) +
                          " ms to build and draw, over " + points(kSlowPage) + " ms";
    Place place{std::nullopt, pane, nullptr};
    if (costliest) {
        place = placeOf(costliest->specifier, pane);
        message +=
            "; row " + std::to_string(costliest->index) + " costs most (" + points(most) + " ms)";
    }
    add(place, "slow-page", CheckLevel::Warning, "", "slow", message);
}
