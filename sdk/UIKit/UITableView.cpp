#include <UIKit/UITableView.h>

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
        _tableHeaderView->setFrame(CGRectMake(0, 0, width, _tableHeaderView->frame().size.height));
        y = _tableHeaderView->frame().size.height;
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
            layout.footer = CGRectMake(inset + kInset, y + kHeaderTextGap,
                                       width - 2 * (inset + kInset), kHeaderTextHeight);
            y += kHeaderTextGap + kHeaderTextHeight;
        }
        _sectionLayouts.push_back(layout);
    }
    _contentHeight = y + (_style == UITableViewStylePlain ? 0 : kSectionSpacing);
}
