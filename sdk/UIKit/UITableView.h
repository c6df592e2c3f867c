#pragma once

#include <optional>
#include <string>
#include <vector>

#include <UIKit/Forward.h>
#include <UIKit/UIView.h>

// A vertical list of rows in sections. In the inset grouped style each
// section is a rounded card inset from the sides, on the grouped background,
// as the Settings app shows its pages. A tap on a row (one that no control in
// it takes) selects it and tells the delegate.
//
// A row given without a cell has its cell made by the data source while the
// row is on screen (the part of the table inside its window) or after it was
// asked for; the table lets it go once neither holds any more, so a long
// page keeps only the cells it shows.
class UITableView : public UIView {
public:
    struct Row {
        Ref<UITableViewCell> cell;
        CGFloat height = 44;
        // The cell comes from the data source, and goes when no longer needed.
        bool provided = false;
    };
    struct Section {
        std::optional<std::string> headerTitle;
        std::optional<std::string> footerTitle;
        NSTextAlignment footerAlignment = NSTextAlignmentNatural;
        std::vector<Row> rows;
    };
    // Where layout put a section: its card and its header and footer texts.
    struct SectionLayout {
        CGRect card;
        CGRect header;
        CGRect footer;
    };

    Ref<UITableView> initWithFrame(const CGRect& frame, UITableViewStyle style);

    UITableViewStyle style() const { return _style; }
    // Replaces every section and its cells.
    void setSections(std::vector<Section> sections);
    const std::vector<Section>& sections() const { return _sections; }
    const std::vector<SectionLayout>& sectionLayouts() const { return _sectionLayouts; }
    // A view above the first section, as high as its frame, or when that is
    // zero as its content wants.
    Ref<UIView> tableHeaderView() const { return _tableHeaderView; }
    void setTableHeaderView(const Ref<UIView>& view);

    Ref<UITableViewDelegate> delegate() const { return _delegate.lock(); }
    void setDelegate(const Ref<UITableViewDelegate>& delegate) { _delegate = delegate; }
    Ref<UITableViewDataSource> dataSource() const { return _dataSource.lock(); }
    void setDataSource(const Ref<UITableViewDataSource>& dataSource) { _dataSource = dataSource; }
    // Where a cell of the table lies; nil for a cell not in it.
    Ref<NSIndexPath> indexPathForCell(const UITableViewCell& cell) const;
    // The cells the rows have now, in row order.
    std::vector<Ref<UITableViewCell>> visibleCells() const;
    // The row's cell, made now when the row has none yet; it stays until a
    // later row is asked for and the row is off screen. nil past the rows.
    Ref<UITableViewCell> cellForRowAtIndexPath(const Ref<NSIndexPath>& indexPath);
    // Selects the row of a cell the user tapped and tells the delegate.
    void cellWasTapped(const Ref<UITableViewCell>& cell);

    // Height of everything laid out, for drawing the whole page.
    CGFloat contentHeight() const { return _contentHeight; }
    void layoutSubviews() override;

    // An inset grouped table's cards are this far from its sides, and the
    // texts of headers and footers this far inside the cards' edges; from
    // kWideWidth points wide, and in the regular width, kWideInset.
    static constexpr CGFloat kInset = 16;
    static constexpr CGFloat kWideInset = 20;
    static constexpr CGFloat kWideWidth = 414;
    CGFloat cardInset() const;
    static constexpr CGFloat kCornerRadius = 10;
    static constexpr CGFloat kSectionSpacing = 35;
    // Section headers and footers are set in the Footnote text style at the
    // table's text size; a footer takes as many lines as its text needs.
    Ref<UIFont> sectionTextFont() const;

private:
    // Makes the row's cell through the data source and puts it in place.
    void makeCell(size_t section, size_t row);
    // A row's height changed outside a layout pass: the rows and sections
    // below move by the difference (those of later sections when reached).
    void rowHeightDidChange(size_t section, size_t row, CGFloat delta);
    // Moves the sections up to this one by the difference still owed them.
    void applyShiftThrough(size_t section);
    void shiftSection(size_t section, size_t firstRow, CGFloat delta);
    // The rows' extent in this view's coordinates that lies inside the window.
    std::pair<CGFloat, CGFloat> visibleRange() const;

    UITableViewStyle _style = UITableViewStylePlain;
    std::vector<Section> _sections;
    std::vector<SectionLayout> _sectionLayouts;
    Ref<UIView> _tableHeaderView;
    CGFloat _contentHeight = 0;
    Weak<UITableViewDelegate> _delegate;
    Weak<UITableViewDataSource> _dataSource;
    // The row asked for last, kept while it is off screen.
    std::optional<std::pair<size_t, size_t>> _askedFor;
    // Where layout put each row, section by section.
    std::vector<std::vector<CGRect>> _rowFrames;
    // How many of each section's rows have their cells.
    std::vector<size_t> _cellCounts;
    // Sections from _shiftFrom on lie _shift lower than _rowFrames says.
    size_t _shiftFrom = 0;
    CGFloat _shift = 0;
};
