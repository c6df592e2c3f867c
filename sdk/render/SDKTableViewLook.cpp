#include <render/SDKTableViewLook.h>

#include <unordered_set>

#include <Foundation/NSString.h>
#include <render/SDKDescription.h>
#include <render/SDKViewPainter.h>

namespace {

const char* styleName(UITableViewStyle style) {
    switch (style) {
    case UITableViewStyleGrouped:
        return "grouped";
    case UITableViewStyleInsetGrouped:
        return "insetGrouped";
    default:
        return "plain";
    }
}

SDKTextStyle sectionTextStyle() {
    SDKTextStyle style;
    style.fontSize = SDKTableViewLook::kSectionTextSize;
    style.color = *UIColor::secondaryLabelColor()->CGColor();
    return style;
}

void drawSection(const UITableView::Section& section, const UITableView::SectionLayout& layout,
                 bool grouped, CGFloat radius, SDKViewPainter& painter) {
    SDKCanvas& canvas = painter.canvas();
    if (grouped && section.headerTitle && canvas.isVisible(layout.header)) {
        SDKTextStyle style = sectionTextStyle();
        painter.text().drawText(NSString::uppercaseString(*section.headerTitle), style,
                                layout.header);
    }
    if (!section.rows.empty() && canvas.isVisible(layout.card)) {
        SDKCanvas::State state(canvas);
        if (grouped) {
            canvas.clipToRoundedRect(layout.card, radius);
            canvas.fillRect(layout.card,
                            *UIColor::secondarySystemGroupedBackgroundColor()->CGColor());
        }
        const CGColor separator = *UIColor::separatorColor()->CGColor();
        for (size_t i = 0; i < section.rows.size(); ++i) {
            const UITableViewCell& cell = *section.rows[i].cell;
            const CGRect frame = cell.frame();
            if (!canvas.isVisible(frame)) {
                continue;
            }
            painter.drawView(cell);
            if (i + 1 < section.rows.size() && !cell.isHidden()) {
                const CGFloat x = frame.origin.x + SDKTableViewLook::kSeparatorInset;
                canvas.fillRect(CGRectMake(x, CGRectGetMaxY(frame) - canvas.hairline(),
                                           CGRectGetMaxX(frame) - x, canvas.hairline()),
                                separator);
            }
        }
    }
    if (grouped && section.footerTitle && canvas.isVisible(layout.footer)) {
        SDKTextStyle style = sectionTextStyle();
        style.numberOfLines = 0;
        style.centresVertically = false;
        painter.text().drawText(*section.footerTitle, style, layout.footer);
    }
}

} // namespace

void SDKTableViewLook::drawSublayers(const UIView& view, SDKViewPainter& painter) const {
    const auto& table = dynamic_cast<const UITableView&>(view);
    const bool grouped = table.style() != UITableViewStylePlain;
    const CGFloat radius =
        table.style() == UITableViewStyleInsetGrouped ? UITableView::kCornerRadius : 0;
    const auto& sections = table.sections();
    const auto& layouts = table.sectionLayouts();
    std::unordered_set<const UIView*> cells;
    for (size_t i = 0; i < sections.size(); ++i) {
        for (const UITableView::Row& row : sections[i].rows) {
            cells.insert(row.cell.get());
        }
        if (i < layouts.size()) {
            drawSection(sections[i], layouts[i], grouped, radius, painter);
        }
    }
    // The table header view and anything else added to the table.
    painter.drawSublayersOf(view, [&](const UIView& subview) { return cells.count(&subview); });
}

void SDKTableViewLook::describeView(const UITableView& table,
                                    Value::Dictionary& description) const {
    description["style"] = styleName(table.style());
    description["contentHeight"] = table.contentHeight();
}
