#pragma once

#include <optional>
#include <string>
#include <vector>

#include <UIKit/UITableViewCell.h>
#include <UIKit/UIView.h>

// A vertical list of rows in sections. In the inset grouped style each
// section is a rounded card inset from the sides, on the grouped background,
// as the Settings app shows its pages.
class UITableView : public UIView {
public:
    struct Row {
        Ref<UITableViewCell> cell;
        CGFloat height = 44;
    };
    struct Section {
        std::optional<std::string> headerTitle;
        std::optional<std::string> footerTitle;
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
    // A view above the first section, sized by its own frame's height.
    Ref<UIView> tableHeaderView() const { return _tableHeaderView; }
    void setTableHeaderView(const Ref<UIView>& view);

    // Height of everything laid out, for drawing the whole page.
    CGFloat contentHeight() const { return _contentHeight; }
    void layoutSubviews() override;

    static constexpr CGFloat kInset = 16;
    static constexpr CGFloat kCornerRadius = 10;
    static constexpr CGFloat kSectionSpacing = 35;

private:
    UITableViewStyle _style = UITableViewStylePlain;
    std::vector<Section> _sections;
    std::vector<SectionLayout> _sectionLayouts;
    Ref<UIView> _tableHeaderView;
    CGFloat _contentHeight = 0;
};
