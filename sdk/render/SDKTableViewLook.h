#pragma once

#include <string>
#include <vector>

#include <UIKit/UITableView.h>
#include <render/SDKTextStyle.h>
#include <render/SDKTypedViewLook.h>

// A table as the Settings app shows it: in the grouped styles each section's
// rows sit on a card (rounded in the inset style) over the grouped
// background, with a hairline between rows inset from the leading edge, the
// header text above the card in small capitals and the footer text below.
// Rows outside what is being drawn are skipped, as a table only makes the
// cells on screen.
class SDKTableViewLook : public SDKTypedViewLook<UITableView> {
public:
    // Without its section texts the table shows what lies behind them.
    explicit SDKTableViewLook(bool drawsSectionTexts = true)
        : _drawsSectionTexts(drawsSectionTexts) {}

    void drawSublayers(const UIView& view, SDKViewPainter& painter) const override;

    // A section's header or footer text as the table draws it: the words
    // shown, how they are set and their box in the table's coordinates.
    struct SectionText {
        size_t section = 0;
        bool footer = false;
        std::string text;
        SDKTextStyle style;
        CGRect box;
    };
    // Every header and footer text the table draws, in order.
    static std::vector<SectionText> sectionTexts(const UITableView& table);

protected:
    void draw(const UITableView&, SDKViewPainter&) const override {}
    void describeView(const UITableView& table, Value::Dictionary& description) const override;

private:
    bool _drawsSectionTexts;
};
