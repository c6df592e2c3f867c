#include <render/SDKTableViewLook.h>

#include <algorithm>

#include <Foundation/NSString.h>
#include <UIKit/UITableViewCell.h>
#include <render/SDKCanvas.h>
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

SDKTextStyle sectionTextStyle(const UITableView& table) {
    SDKTextStyle style;
    style.layoutDirection = table.effectiveUserInterfaceLayoutDirection();
    style.fontSize = table.sectionTextFont()->pointSize();
    style.color = *UIColor::secondaryLabelColor()->CGColor();
    return style;
}

// The section's header text, set as the table sets it, in small capitals.
SDKTableViewLook::SectionText headerText(const UITableView& table, size_t index) {
    const UITableView::Section& section = table.sections()[index];
    return {index, false, NSString::uppercaseString(section.headerTitle.value_or("")),
            sectionTextStyle(table), table.sectionLayouts()[index].header};
}

// The section's footer text: as many lines as it needs, from the box's top.
SDKTableViewLook::SectionText footerText(const UITableView& table, size_t index) {
    const UITableView::Section& section = table.sections()[index];
    SDKTableViewLook::SectionText footer{index, true, section.footerTitle.value_or(""),
                                         sectionTextStyle(table),
                                         table.sectionLayouts()[index].footer};
    footer.style.numberOfLines = 0;
    footer.style.centresVertically = false;
    footer.style.alignment = section.footerAlignment;
    return footer;
}

void drawSection(const UITableView& table, size_t index, bool grouped, bool texts, CGFloat radius,
                 SDKViewPainter& painter) {
    const UITableView::Section& section = table.sections()[index];
    const UITableView::SectionLayout& layout = table.sectionLayouts()[index];
    SDKCanvas& canvas = painter.canvas();
    texts = texts && grouped;
    if (texts && section.headerTitle && canvas.isVisible(layout.header)) {
        const SDKTableViewLook::SectionText header = headerText(table, index);
        painter.text().drawText(header.text, header.style, header.box);
    }
    if (!section.rows.empty() && canvas.isVisible(layout.card)) {
        const CGRect& card = layout.card;
        if (grouped) {
            canvas.fillRoundedRect(card, radius,
                                   *UIColor::secondarySystemGroupedBackgroundColor()->CGColor());
        }
        const CGColor separator = *UIColor::separatorColor()->CGColor();
        for (size_t i = 0; i < section.rows.size(); ++i) {
            if (!section.rows[i].cell) {
                continue;
            }
            const UITableViewCell& cell = *section.rows[i].cell;
            const CGRect frame = cell.frame();
            if (!canvas.isVisible(frame)) {
                continue;
            }
            // Only the rows that reach into the card's rounded corners are
            // clipped to it, as the platform rounds only the first and last.
            if (grouped && radius > 0 &&
                (frame.origin.y < card.origin.y + radius ||
                 CGRectGetMaxY(frame) > CGRectGetMaxY(card) - radius)) {
                SDKCanvas::State state(canvas);
                canvas.clipToRoundedRect(card, radius);
                painter.drawView(cell);
            } else {
                painter.drawView(cell);
            }
            if (i + 1 < section.rows.size() && !cell.isHidden()) {
                // The inset is on the leading side.
                const CGFloat inset = cell.separatorInset().left;
                const bool rightToLeft = cell.effectiveUserInterfaceLayoutDirection() ==
                                         UIUserInterfaceLayoutDirectionRightToLeft;
                canvas.fillRect(CGRectMake(frame.origin.x + (rightToLeft ? 0 : inset),
                                           CGRectGetMaxY(frame) - canvas.hairline(),
                                           std::max(0.0, frame.size.width - inset),
                                           canvas.hairline()),
                                separator);
            }
        }
    }
    if (texts && section.footerTitle && canvas.isVisible(layout.footer)) {
        const SDKTableViewLook::SectionText footer = footerText(table, index);
        painter.text().drawText(footer.text, footer.style, footer.box);
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
    const size_t count = std::min(sections.size(), layouts.size());
    // Sections lie top to bottom: start at the first that reaches into view
    // and stop at the first below it.
    const CGRect visible = painter.canvas().visibleRect();
    auto bottom = [&](size_t i) {
        return std::max(CGRectGetMaxY(layouts[i].card), CGRectGetMaxY(layouts[i].footer));
    };
    size_t first = 0, last = count;
    while (first < last) {
        const size_t middle = (first + last) / 2;
        if (bottom(middle) < visible.origin.y) {
            first = middle + 1;
        } else {
            last = middle;
        }
    }
    for (size_t i = first; i < count; ++i) {
        const CGFloat top =
            sections[i].headerTitle ? layouts[i].header.origin.y : layouts[i].card.origin.y;
        if (top > CGRectGetMaxY(visible)) {
            break;
        }
        drawSection(table, i, grouped, _drawsSectionTexts, radius, painter);
    }
    // The table header view and anything else added to the table; the
    // cells are on their cards already. Usually the header is all there is,
    // which spares a walk over every cell for each tile of a long page.
    size_t cells = 0;
    for (const UITableView::Section& section : sections) {
        cells += section.rows.size();
    }
    const Ref<UIView> header = table.tableHeaderView();
    const size_t expected = cells + (header && header->superview().get() == &view ? 1 : 0);
    if (view.subviews().size() == expected && view.layer()->sublayers().size() == expected) {
        if (expected > cells) {
            painter.drawView(*header);
        }
        return;
    }
    painter.drawSublayersOf(view, [](const UIView& subview) {
        return dynamic_cast<const UITableViewCell*>(&subview) != nullptr;
    });
}

std::vector<SDKTableViewLook::SectionText>
SDKTableViewLook::sectionTexts(const UITableView& table) {
    std::vector<SectionText> texts;
    if (table.style() == UITableViewStylePlain) {
        return texts;
    }
    // The texts' colour is resolved in the table's traits, as it is drawn.
    UITraitCollection::CurrentScope traits(table.traitCollection());
    const size_t count = std::min(table.sections().size(), table.sectionLayouts().size());
    for (size_t i = 0; i < count; ++i) {
        if (table.sections()[i].headerTitle) {
            texts.push_back(headerText(table, i));
        }
        if (table.sections()[i].footerTitle) {
            texts.push_back(footerText(table, i));
        }
    }
    return texts;
}

void SDKTableViewLook::describeView(const UITableView& table,
                                    Value::Dictionary& description) const {
    description["style"] = styleName(table.style());
    description["contentHeight"] = table.contentHeight();
}
