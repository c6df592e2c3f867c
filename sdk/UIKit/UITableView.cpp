#include <UIKit/UITableView.h>

#include <algorithm>

#include <UIKit/NSStringDrawing.h>

namespace {

constexpr CGFloat kHeaderTextHeight = 18;
constexpr CGFloat kHeaderTextGap = 7;

} // namespace

Ref<UITableView> UITableView::initWithFrame(const CGRect& frame, UITableViewStyle style) {
    UIView::initWithFrame(frame);
    _style = style;
    setBackgroundColor(style == UITableViewStylePlain ? UIColor::systemBackgroundColor()
                                                      : UIColor::systemGroupedBackgroundColor());
    return self<UITableView>();
}

void UITableView::setSections(std::vector<Section> sections) {
    for (const Section& section : _sections) {
        for (const Row& row : section.rows) {
            row.cell->removeFromSuperview();
        }
    }
    _sections = std::move(sections);
    for (const Section& section : _sections) {
        for (const Row& row : section.rows) {
            // A cell is as tall as its row before it is first laid out; the
            // next layout pass places it.
            CGRect frame = row.cell->frame();
            frame.size.height = row.height;
            row.cell->setFrame(frame);
            addSubview(row.cell);
        }
    }
    setNeedsLayout();
}

Ref<NSIndexPath> UITableView::indexPathForCell(const UITableViewCell& cell) const {
    for (size_t section = 0; section < _sections.size(); ++section) {
        const auto& rows = _sections[section].rows;
        for (size_t row = 0; row < rows.size(); ++row) {
            if (rows[row].cell.get() == &cell) {
                return NSIndexPath::indexPathForRow(static_cast<NSInteger>(row),
                                                    static_cast<NSInteger>(section));
            }
        }
    }
    return nullptr;
}

Ref<UITableViewCell> UITableView::cellForRowAtIndexPath(const Ref<NSIndexPath>& indexPath) const {
    if (!indexPath || indexPath->section() < 0 ||
        static_cast<size_t>(indexPath->section()) >= _sections.size()) {
        return nullptr;
    }
    const auto& rows = _sections[indexPath->section()].rows;
    if (indexPath->row() < 0 || static_cast<size_t>(indexPath->row()) >= rows.size()) {
        return nullptr;
    }
    return rows[indexPath->row()].cell;
}

void UITableView::cellWasTapped(const Ref<UITableViewCell>& cell) {
    Ref<NSIndexPath> path = cell ? indexPathForCell(*cell) : nullptr;
    if (!path) {
        return;
    }
    cell->setSelected(true, false);
    if (Ref<UITableViewDelegate> listener = delegate()) {
        listener->tableViewDidSelectRowAtIndexPath(self<UITableView>(), path);
    }
}

void UITableView::setTableHeaderView(const Ref<UIView>& view) {
    if (_tableHeaderView) {
        _tableHeaderView->removeFromSuperview();
    }
    _tableHeaderView = view;
    if (view) {
        addSubview(view);
    }
    setNeedsLayout();
}

void UITableView::layoutSubviews() {
    const CGFloat width = bounds().size.width;
    const CGFloat inset = _style == UITableViewStyleInsetGrouped ? kInset : 0;
    CGFloat y = 0;
    if (_tableHeaderView) {
        CGFloat height = _tableHeaderView->frame().size.height;
        if (height <= 0) {
            height = std::max(0.0, _tableHeaderView->intrinsicContentSize().height);
        }
        _tableHeaderView->setFrame(CGRectMake(0, 0, width, height));
        y = height;
    }
    _sectionLayouts.clear();
    for (const Section& section : _sections) {
        SectionLayout layout;
        y += _style == UITableViewStylePlain ? 0 : kSectionSpacing;
        if (section.headerTitle) {
            layout.header =
                CGRectMake(inset + kInset, y, width - 2 * (inset + kInset), kHeaderTextHeight);
            y += kHeaderTextHeight + kHeaderTextGap;
        }
        const CGFloat top = y;
        for (const Row& row : section.rows) {
            row.cell->setFrame(CGRectMake(inset, y, width - 2 * inset, row.height));
            y += row.height;
        }
        layout.card = CGRectMake(inset, top, width - 2 * inset, y - top);
        if (section.footerTitle) {
            const CGFloat textWidth = width - 2 * (inset + kInset);
            const CGFloat height = std::max(
                kHeaderTextHeight,
                NSStringDrawing::boundingSizeWithFont(
                    *section.footerTitle, UIFont::systemFontOfSize(kSectionTextSize), textWidth)
                    .height);
            layout.footer = CGRectMake(inset + kInset, y + kHeaderTextGap, textWidth, height);
            y += kHeaderTextGap + height;
        }
        _sectionLayouts.push_back(layout);
    }
    _contentHeight = y + (_style == UITableViewStylePlain ? 0 : kSectionSpacing);
}
