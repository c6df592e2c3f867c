#pragma once

#include <string>

#include <UIKit/Forward.h>
#include <UIKit/UIView.h>

// Settings on an iPad: its own list in a column at the left, the row of the
// shown page selected in it, and the page in the detail column beside it
// (the detail view, added by the host, fills the rest).
class SettingsSplitView : public UIView {
public:
    Ref<SettingsSplitView> initWithFrame(const CGRect& frame, const std::string& pageTitle);

    // The detail column's content: the navigation of the shown page.
    void setDetailView(const Ref<UIView>& view);
    void layoutSubviews() override;

    // The list column's width: Settings' on an iPad of this width.
    static CGFloat primaryColumnWidth(CGFloat screenWidth);

private:
    Ref<UIView> _primary;
    Ref<UILabel> _title;
    Ref<UIView> _selectedRow;
    Ref<UILabel> _selectedTitle;
    Ref<UIView> _divider;
    Ref<UIView> _detail;
};
