#pragma once

#include <optional>
#include <string>
#include <vector>

#include <UIKit/NSIndexPath.h>
#include <UIKit/UITableViewCell.h>
#include <UIKit/UITableViewDelegate.h>
#include <UIKit/UIView.h>

// A vertical list of rows in sections. In the inset grouped style each
// section is a rounded card inset from the sides, on the grouped background,
// as the Settings app shows its pages. A tap on a row (one that no control in
// it takes) selects it and tells the delegate.
class UITableView : public UIView {
public:
    struct Row {
        Ref<UITableViewCell> cell;
        CGFloat height = 44;
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
    // Where a cell of the table lies; nil for a cell not in it.
    Ref<NSIndexPath> indexPathForCell(const UITableViewCell& cell) const;
    Ref<UITableViewCell> cellForRowAtIndexPath(const Ref<NSIndexPath>& indexPath) const;
    // Selects the row of a cell the user tapped and tells the delegate.
    void cellWasTapped(const Ref<UITableViewCell>& cell);

    // Height of everything laid out, for drawing the whole page.
    CGFloat contentHeight() const { return _contentHeight; }
    void layoutSubviews() override;

    static constexpr CGFloat kInset = 16;
    static constexpr CGFloat kCornerRadius = 10;
    static constexpr CGFloat kSectionSpacing = 35;
    // Section headers and footers are set in the system font at this size;
    // a footer takes as many lines as its text needs.
    static constexpr CGFloat kSectionTextSize = 13;

private:
    UITableViewStyle _style = UITableViewStylePlain;
    std::vector<Section> _sections;
    std::vector<SectionLayout> _sectionLayouts;
    Ref<UIView> _tableHeaderView;
    CGFloat _contentHeight = 0;
    Weak<UITableViewDelegate> _delegate;
};
