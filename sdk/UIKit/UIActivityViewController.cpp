#include <UIKit/UIActivityViewController.h>

#include <algorithm>

#include <UIKit/SDKSystemText.h>
#include <UIKit/UIButton.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIFont.h>
#include <UIKit/UILabel.h>
#include <UIKit/UILayoutContainerView.h>
#include <UIKit/UIScreen.h>

namespace {

constexpr CGFloat kMargin = 16;
constexpr CGFloat kSheetHeight = 420;
constexpr CGFloat kCloseDiameter = 30;
constexpr CGFloat kRowHeight = 52;
constexpr const char* kActions[] = {"Copy", "Add to Reading List", "Save to Files"};

// The items as the sheet's preview shows them: each text on its own line.
std::string previewText(const Value::Array& items) {
    std::string text;
    for (const Value& item : items) {
        if (const std::string* line = item.string()) {
            text += (text.empty() ? "" : "\n") + *line;
        }
    }
    return text;
}

} // namespace

Ref<UIActivityViewController>
UIActivityViewController::initWithActivityItems(const Value::Array& activityItems, std::nullptr_t) {
    UIViewController::init();
    _activityItems = activityItems;
    return self<UIActivityViewController>();
}

void UIActivityViewController::loadView() {
    Weak<UIActivityViewController> weakSelf = self<UIActivityViewController>();
    Ref<UIView> screen =
        alloc<UILayoutContainerView>()->initWithFrame(UIScreen::mainScreen()->bounds(), [weakSelf] {
            if (Ref<UIActivityViewController> sheet = weakSelf.lock()) {
                sheet->layoutContent();
            }
        });
    screen->setBackgroundColor(UIColor::colorWithWhite(0, 0.2));
    setView(screen);

    _sheet = alloc<UIView>()->init();
    _sheet->setBackgroundColor(UIColor::systemGroupedBackgroundColor());
    _sheet->layer()->setCornerRadius(12);
    screen->addSubview(_sheet);

    _preview = alloc<UILabel>()->init();
    _preview->setText(previewText(_activityItems));
    _preview->setFont(UIFont::systemFontOfSize(15));
    _preview->setNumberOfLines(3);
    _sheet->addSubview(_preview);

    _closeButton = UIButton::buttonWithType(UIButtonTypeCustom);
    _closeButton->setTitle("\u00D7", UIControlStateNormal);
    _closeButton->setTitleColor(UIColor::secondaryLabelColor(), UIControlStateNormal);
    _closeButton->setBackgroundColor(UIColor::tertiarySystemFillColor());
    _closeButton->layer()->setCornerRadius(kCloseDiameter / 2);
    _closeButton->addTarget(self<UIActivityViewController>(),
                            &UIActivityViewController::closeTapped, UIControlEventTouchUpInside);
    _sheet->addSubview(_closeButton);

    for (const char* english : kActions) {
        const std::string action = SDKSystemText::localized(english);
        Ref<UILabel> row = alloc<UILabel>()->init();
        row->setText(std::string("   ") + action);
        row->setFont(UIFont::systemFontOfSize(17));
        row->setBackgroundColor(UIColor::secondarySystemGroupedBackgroundColor());
        row->layer()->setCornerRadius(10);
        row->setClipsToBounds(true);
        _sheet->addSubview(row);
        _actionRows.push_back(row);
    }
}

void UIActivityViewController::layoutContent() {
    const CGRect bounds = view()->bounds();
    const CGFloat width = bounds.size.width;
    const CGFloat height = std::min(kSheetHeight, bounds.size.height);
    _sheet->setFrame(CGRectMake(0, bounds.size.height - height, width, height + 12));
    const CGFloat inner = std::max(0.0, width - 2 * kMargin);
    // Right to left, the close button is at the left.
    _preview->setFrame(_sheet->directionalRect(
        CGRectMake(kMargin, 14, std::max(0.0, inner - kCloseDiameter - 12), 64)));
    _closeButton->setFrame(_sheet->directionalRect(
        CGRectMake(width - kMargin - kCloseDiameter, 16, kCloseDiameter, kCloseDiameter)));
    CGFloat y = 96;
    for (const Ref<UIView>& row : _actionRows) {
        row->setFrame(CGRectMake(kMargin, y, inner, kRowHeight - 8));
        y += kRowHeight;
    }
}

void UIActivityViewController::closeTapped() {
    dismissViewControllerAnimated(true, nullptr);
}
