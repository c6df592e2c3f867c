#include "SettingsSplitView.h"

#include <algorithm>
#include <cmath>

#include <UIKit/UIColor.h>
#include <UIKit/UIFont.h>
#include <UIKit/UILabel.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UIWindow.h>

namespace {

// The column's large title, and its selected row as an inset card.
constexpr CGFloat kTitleTop = 52;
constexpr CGFloat kRowInset = 16;
constexpr CGFloat kRowGap = 20;
constexpr CGFloat kRowHeight = 44;

} // namespace

Ref<SettingsSplitView> SettingsSplitView::initWithFrame(const CGRect& frame,
                                                        const std::string& pageTitle) {
    UIView::initWithFrame(frame);
    _primary = alloc<UIView>()->init();
    _primary->setBackgroundColor(UIColor::systemGroupedBackgroundColor());
    addSubview(_primary);
    _title = alloc<UILabel>()->init();
    _title->setText(std::string("Settings"));
    _title->setFont(UIFont::boldSystemFontOfSize(
        UIFont::preferredFontForTextStyle(UIFontTextStyle::LargeTitle)->pointSize()));
    _primary->addSubview(_title);
    // The page's row, selected as the list shows the row whose page is open.
    _selectedRow = alloc<UIView>()->init();
    _selectedRow->setBackgroundColor(UIColor::systemBlueColor());
    _selectedRow->layer()->setCornerRadius(10);
    _primary->addSubview(_selectedRow);
    _selectedTitle = alloc<UILabel>()->init();
    _selectedTitle->setText(pageTitle);
    _selectedTitle->setFont(UIFont::preferredFontForTextStyle(UIFontTextStyle::Body));
    _selectedTitle->setTextColor(UIColor::whiteColor());
    _selectedRow->addSubview(_selectedTitle);
    _divider = alloc<UIView>()->init();
    _divider->setBackgroundColor(UIColor::opaqueSeparatorColor());
    addSubview(_divider);
    return self<SettingsSplitView>();
}

CGFloat SettingsSplitView::primaryColumnWidth(CGFloat screenWidth) {
    return screenWidth >= 1100 ? 375 : 320;
}

void SettingsSplitView::setDetailView(const Ref<UIView>& view) {
    if (_detail) {
        _detail->removeFromSuperview();
    }
    _detail = view;
    insertSubviewAtIndex(view, 0);
    setNeedsLayout();
}

void SettingsSplitView::layoutSubviews() {
    const CGRect b = bounds();
    const CGFloat top = window() ? window()->safeAreaInsets().top : 0;
    const CGFloat primary = primaryColumnWidth(b.size.width);
    // The column is as high as the screen; below it the page goes on alone.
    const CGFloat height = std::min(b.size.height, UIScreen::mainScreen()->bounds().size.height);
    _primary->setFrame(CGRectMake(0, 0, primary, height));
    // The title's baseline region ends kTitleTop below the safe area, or
    // lower when a large text size makes the title taller than that.
    const CGFloat titleHeight = _title->font()->lineHeight();
    const CGFloat titleBottom = top + std::max(kTitleTop, titleHeight + 4);
    _title->setFrame(CGRectMake(20, titleBottom - titleHeight, primary - 40, titleHeight));
    const CGFloat rowHeight =
        std::max(kRowHeight, std::ceil(_selectedTitle->font()->lineHeight() + 22));
    _selectedRow->setFrame(
        CGRectMake(kRowInset, titleBottom + kRowGap, primary - 2 * kRowInset, rowHeight));
    _selectedTitle->setFrame(CGRectMake(16, 0, primary - 2 * kRowInset - 32, rowHeight));
    const CGFloat hairline = 1 / UIScreen::mainScreen()->scale();
    _divider->setFrame(CGRectMake(primary, 0, hairline, height));
    if (_detail) {
        _detail->setFrame(
            CGRectMake(primary + hairline, 0, b.size.width - primary - hairline, b.size.height));
    }
}
