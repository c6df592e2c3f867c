#pragma once

#include <memory>
#include <string>
#include <vector>

#include <cairo.h>

#include <UIKit/Forward.h>
#include <render/Forward.h>
#include <render/SDKPageRenderer.h>
#include <render/SDKTextPainter.h>

#include "CheckFindings.h"
#include "PageHost.h"
#include "PaneFile.h"

// The rules a page breaks as one device draws it: text whose contrast with
// the pixels drawn behind it is too low, text cut short or clipped, views
// drawn outside their row, constraint conflicts of the layout, and a page
// slow to build and draw.
class DrawnPageRules {
public:
    DrawnPageRules(CheckFindings& findings, std::string variant);
    ~DrawnPageRules();
    DrawnPageRules(const DrawnPageRules&) = delete;
    DrawnPageRules& operator=(const DrawnPageRules&) = delete;

    // The page on top of the host's navigation, made from `pane` (nil when
    // the bundle has no such file), built in `buildMilliseconds`, during
    // which the layout logged `conflicts` (the messages). The list of
    // choices a list link opens is made from the link's item of `pane`:
    // `list` is that link's specifier, nil for any other page.
    void check(PageHost& host, const PaneFile* pane, double buildMilliseconds,
               const std::vector<std::string>& conflicts, const Ref<PSSpecifier>& list = nullptr);

    // The contrast of two opaque colours, 1 to 21.
    static double contrast(const CGColor& first, const CGColor& second);
    // The processor time this thread has taken, in milliseconds: what a page
    // costs, whatever else the machine is doing.
    static double processorMilliseconds();
    // The most a page may take to build and draw, in milliseconds.
    static constexpr double kSlowPage = 100;

private:
    struct Place {
        std::optional<size_t> item;
        const PaneFile* pane;
        Ref<PSSpecifier> specifier;
        // The row's cell is one of the rows' library's.
        bool rowsLibrary = false;
    };
    void checkView(const Ref<UIView>& view, const CGRect& cellFrame, const CGRect& clip,
                   double alpha, bool enabled, const Place& place);
    void checkLabel(const UILabel& label, const CGRect& cellFrame, const CGRect& clip, double alpha,
                    bool enabled, const Place& place);
    // A text as it is drawn, by a label or by the table itself.
    struct DrawnText {
        std::string text;
        SDKTextStyle style;
        // Its box in its view's coordinates and in the window's.
        CGRect bounds;
        CGRect frame;
        // What its glyphs may not reach past, in the window's coordinates.
        CGRect row;
        CGRect clip;
        CGColor color;
        Ref<UITraitCollection> traits;
        // The tint of its view, which the platform colours it with; nil for none.
        Ref<UIColor> tint;
        // A disabled control's text is dimmed on purpose, as on the device.
        bool dimmed = false;
    };
    void checkText(const DrawnText& drawn, const Place& place, const std::string& key);
    // The header and footer texts the shown page's table draws itself.
    void checkSectionTexts(PageHost& host, const PaneFile* pane);
    // The contrast of the text with what lies under `rect` (window
    // coordinates) in the picture drawn without texts; nil off the picture.
    std::optional<double> measuredContrast(const CGColor& text, const CGRect& rect) const;
    // The least contrast the platform's own colour `text` (or any colour,
    // when the rows' library fixes it) has with the platform's backgrounds
    // in `traits`; nil for a colour the page chose.
    std::optional<double> platformContrast(const DrawnText& drawn, bool fixedByRows) const;
    void add(const Place& place, const std::string& rule, CheckLevel level, const std::string& key,
             const std::string& subject, const std::string& message);
    void checkConflicts(PageHost& host, const PaneFile* pane,
                        const std::vector<std::string>& conflicts);
    void checkSpeed(PageHost& host, const PaneFile* pane, const SDKPageRenderer& renderer,
                    double milliseconds);
    Place placeOf(const Ref<PSSpecifier>& specifier, const PaneFile* pane) const;

    CheckFindings& _findings;
    std::string _variant;
    // Where texts are measured.
    cairo_surface_t* _surface;
    cairo_t* _cairo;
    std::unique_ptr<SDKCanvas> _canvas;
    std::unique_ptr<SDKTextPainter> _painter;
    // What the page is drawn with to find what lies behind its texts: the
    // standard looks, the table's without its section texts.
    SDKLookRegistry _looksWithoutTexts;
    // The list link whose choices the page shows, while it is checked.
    Ref<PSSpecifier> _list;
    // The page drawn without its rows' texts, at one pixel a point.
    SDKPageRenderer::Image _background{nullptr, &cairo_surface_destroy};
};
