#include <UIKit/UITableView.h>

#include <algorithm>
#include <cmath>

#include <UIKit/NSIndexPath.h>
#include <UIKit/NSStringDrawing.h>
#include <UIKit/UIColor.h>
#include <UIKit/UITableViewCell.h>
#include <UIKit/UITableViewDataSource.h>
#include <UIKit/UITableViewDelegate.h>
#include <UIKit/UIWindow.h>

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
            if (row.cell) {
                row.cell->removeFromSuperview();
            }
        }
    }
    _sections = std::move(sections);
    _askedFor.reset();
    _rowFrames.clear();
    _cellCounts.assign(_sections.size(), 0);
    size_t index = 0;
    for (size_t s = 0; s < _sections.size(); ++s) {
        for (const Row& row : _sections[s].rows) {
            if (!row.cell) {
                continue;
            }
            ++_cellCounts[s];
            // A cell is as tall as its row before it is first laid out; the
            // next layout pass places it.
            CGRect frame = row.cell->frame();
            frame.size.height = row.height;
            row.cell->setFrame(frame);
            insertSubviewAtIndex(row.cell, index++);
        }
    }
    setNeedsLayout();
}

void UITableView::makeCell(size_t section, size_t row) {
    Ref<UITableViewDataSource> source = dataSource();
    if (!source || _sections[section].rows[row].cell) {
        return;
    }
    Ref<UITableView> me = self<UITableView>();
    Ref<NSIndexPath> path =
        NSIndexPath::indexPathForRow(static_cast<NSInteger>(row), static_cast<NSInteger>(section));
    Ref<UITableViewCell> cell = source->tableViewCellForRowAtIndexPath(me, path);
    if (!cell) {
        return;
    }
    Row& entry = _sections[section].rows[row];
    Ref<UITableViewDelegate> listener = delegate();
    const std::optional<CGFloat> height =
        listener ? listener->tableViewHeightForRowAtIndexPath(me, path) : std::nullopt;
    if (height && *height != entry.height) {
        const CGFloat delta = *height - entry.height;
        entry.height = *height;
        rowHeightDidChange(section, row, delta);
    }
    CGRect frame = cell->frame();
    frame.size.height = entry.height;
    if (section < _rowFrames.size() && row < _rowFrames[section].size()) {
        frame = _rowFrames[section][row];
    }
    cell->setFrame(frame);
    entry.cell = cell;
    // Cells lie in row order in front of the other subviews.
    size_t index = 0;
    for (size_t s = 0; s < section; ++s) {
        index += _cellCounts[s];
    }
    const auto& rows = _sections[section].rows;
    for (size_t r = 0; r < row; ++r) {
        index += rows[r].cell ? 1 : 0;
    }
    ++_cellCounts[section];
    insertSubviewAtIndex(cell, index);
    if (listener) {
        listener->tableViewWillDisplayCell(me, cell, path);
    }
    if (!height) {
        // A row of no given height grows when its cell, now showing its
        // contents, needs more room (a large text size, a title that wraps).
        const CGFloat inset = cardInset();
        const CGFloat fitting =
            cell->sizeThatFits(CGSizeMake(bounds().size.width - 2 * inset, 0)).height;
        Row& shown = _sections[section].rows[row];
        if (fitting > shown.height) {
            const CGFloat delta = fitting - shown.height;
            shown.height = fitting;
            rowHeightDidChange(section, row, delta);
            frame.size.height = fitting;
            cell->setFrame(frame);
        }
    }
}

void UITableView::shiftSection(size_t section, size_t firstRow, CGFloat delta) {
    auto& frames = _rowFrames[section];
    for (size_t r = firstRow; r < frames.size(); ++r) {
        frames[r].origin.y += delta;
        if (const Ref<UITableViewCell>& cell = _sections[section].rows[r].cell) {
            cell->setFrame(frames[r]);
        }
    }
    SectionLayout& layout = _sectionLayouts[section];
    if (firstRow == 0) {
        layout.header.origin.y += delta;
        layout.card.origin.y += delta;
    }
    layout.footer.origin.y += delta;
}

void UITableView::applyShiftThrough(size_t section) {
    for (; _shift != 0 && _shiftFrom <= section && _shiftFrom < _rowFrames.size(); ++_shiftFrom) {
        shiftSection(_shiftFrom, 0, _shift);
    }
}

void UITableView::rowHeightDidChange(size_t section, size_t row, CGFloat delta) {
    // Outside a layout pass only; one that is under way places what follows.
    if (_sectionLayouts.size() != _sections.size() || row >= _rowFrames[section].size()) {
        return;
    }
    applyShiftThrough(section);
    _rowFrames[section][row].size.height += delta;
    _sectionLayouts[section].card.size.height += delta;
    shiftSection(section, row + 1, delta);
    if (_shift == 0) {
        _shiftFrom = section + 1;
    } else {
        // Sections that have had what they were owed move now.
        for (size_t s = section + 1; s < _shiftFrom; ++s) {
            shiftSection(s, 0, delta);
        }
    }
    _shift += delta;
    _contentHeight += delta;
}

std::pair<CGFloat, CGFloat> UITableView::visibleRange() const {
    Ref<UIWindow> shownIn = window();
    if (!shownIn) {
        return {0, bounds().size.height};
    }
    const CGFloat top = convertPointToView(CGPointMake(0, 0), nullptr).y;
    return {-top, shownIn->bounds().size.height - top};
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

std::vector<Ref<UITableViewCell>> UITableView::visibleCells() const {
    std::vector<Ref<UITableViewCell>> cells;
    for (const Section& section : _sections) {
        for (const Row& row : section.rows) {
            if (row.cell) {
                cells.push_back(row.cell);
            }
        }
    }
    return cells;
}

Ref<UITableViewCell> UITableView::cellForRowAtIndexPath(const Ref<NSIndexPath>& indexPath) {
    if (!indexPath || indexPath->section() < 0 ||
        static_cast<size_t>(indexPath->section()) >= _sections.size()) {
        return nullptr;
    }
    const size_t section = static_cast<size_t>(indexPath->section());
    if (indexPath->row() < 0 ||
        static_cast<size_t>(indexPath->row()) >= _sections[section].rows.size()) {
        return nullptr;
    }
    const size_t row = static_cast<size_t>(indexPath->row());
    if (!_sections[section].rows[row].provided) {
        return _sections[section].rows[row].cell;
    }
    // The row asked for before goes once it is off screen.
    if (_askedFor && *_askedFor != std::make_pair(section, row)) {
        const auto [lastSection, lastRow] = *_askedFor;
        Row& last = _sections[lastSection].rows[lastRow];
        if (last.cell && lastSection < _rowFrames.size() &&
            lastRow < _rowFrames[lastSection].size()) {
            const CGRect frame = last.cell->frame();
            const auto [top, bottom] = visibleRange();
            if (CGRectGetMaxY(frame) <= top || frame.origin.y >= bottom) {
                Ref<UITableViewCell> leaving = std::move(last.cell);
                --_cellCounts[lastSection];
                leaving->removeFromSuperview();
            }
        }
    }
    _askedFor = std::make_pair(section, row);
    applyShiftThrough(section);
    makeCell(section, row);
    return _sections[section].rows[row].cell;
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

CGFloat UITableView::cardInset() const {
    if (_style != UITableViewStyleInsetGrouped) {
        return 0;
    }
    // Wider phones (414 points and up) and the regular width keep cards further in.
    const bool wide = bounds().size.width >= kWideWidth ||
                      traitCollection()->horizontalSizeClass() == UIUserInterfaceSizeClassRegular;
    return wide ? kWideInset : kInset;
}

Ref<UIFont> UITableView::sectionTextFont() const {
    return UIFont::preferredFontForTextStyle(UIFontTextStyle::Footnote, traitCollection());
}

void UITableView::layoutSubviews() {
    const CGFloat width = bounds().size.width;
    const CGFloat inset = cardInset();
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
    _rowFrames.clear();
    _shift = 0;
    _shiftFrom = 0;
    const std::pair<CGFloat, CGFloat> shown = visibleRange();
    const Ref<UIFont> sectionFont = sectionTextFont();
    // A header is one line; its line grows with the text size.
    const CGFloat headerHeight = std::max(kHeaderTextHeight, std::ceil(sectionFont->lineHeight()));
    for (size_t sectionIndex = 0; sectionIndex < _sections.size(); ++sectionIndex) {
        Section& section = _sections[sectionIndex];
        SectionLayout layout;
        y += _style == UITableViewStylePlain ? 0 : kSectionSpacing;
        if (section.headerTitle) {
            layout.header =
                CGRectMake(inset + kInset, y, width - 2 * (inset + kInset), headerHeight);
            y += headerHeight + kHeaderTextGap;
        }
        const CGFloat top = y;
        std::vector<CGRect>& frames = _rowFrames.emplace_back();
        for (size_t i = 0; i < section.rows.size(); ++i) {
            Row& row = section.rows[i];
            CGRect frame = CGRectMake(inset, y, width - 2 * inset, row.height);
            const bool onScreen =
                CGRectGetMaxY(frame) > shown.first && frame.origin.y < shown.second;
            const bool asked = _askedFor == std::make_pair(sectionIndex, i);
            if (row.provided && !onScreen && !asked) {
                if (row.cell) {
                    Ref<UITableViewCell> leaving = std::move(row.cell);
                    --_cellCounts[sectionIndex];
                    leaving->removeFromSuperview();
                }
            } else if (!row.cell) {
                // The rows below are not laid out yet: a new height just moves them.
                makeCell(sectionIndex, i);
                frame.size.height = section.rows[i].height;
            }
            if (row.cell) {
                row.cell->setFrame(frame);
            }
            frames.push_back(frame);
            y += frame.size.height;
        }
        layout.card = CGRectMake(inset, top, width - 2 * inset, y - top);
        if (section.footerTitle) {
            const CGFloat textWidth = width - 2 * (inset + kInset);
            const CGFloat height = std::max(
                kHeaderTextHeight,
                NSStringDrawing::boundingSizeWithFont(*section.footerTitle, sectionFont, textWidth)
                    .height);
            layout.footer = CGRectMake(inset + kInset, y + kHeaderTextGap, textWidth, height);
            y += kHeaderTextGap + height;
        }
        _sectionLayouts.push_back(layout);
    }
    _contentHeight = y + (_style == UITableViewStylePlain ? 0 : kSectionSpacing);
}
