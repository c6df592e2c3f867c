#include <UIKit/SDKMenuViewController.h>

#include <algorithm>

#include <UIKit/UIAction.h>
#include <UIKit/UIButton.h>
#include <UIKit/UIControl.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UILabel.h>
#include <UIKit/UIMenu.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UIWindow.h>

namespace {

constexpr CGFloat kRowInset = 16;
constexpr CGFloat kCornerRadius = 13;
constexpr CGFloat kHeaderHeight = 30;
constexpr CGFloat kImageSize = 20;

} // namespace

void SDKMenuViewController::presentMenu(const Ref<UIMenu>& menu, const Ref<UIView>& source) {
    Ref<UIWindow> window = source ? source->window() : nullptr;
    Ref<UIViewController> top = window ? window->topViewController() : nullptr;
    if (!menu || !top) {
        return;
    }
    const CGRect sourceRect = source->convertRectToView(source->bounds(), nullptr);
    Ref<SDKMenuViewController> controller =
        alloc<SDKMenuViewController>()->initWithMenu(menu, sourceRect);
    top->presentViewController(controller, true, nullptr);
}

Ref<SDKMenuViewController> SDKMenuViewController::initWithMenu(const Ref<UIMenu>& menu,
                                                               const CGRect& sourceRect) {
    UIViewController::init();
    _menu = menu;
    _sourceRect = sourceRect;
    setTitle(menu && !menu->title().empty() ? std::optional<std::string>(menu->title())
                                            : std::nullopt);
    setModalPresentationStyle(UIModalPresentationOverFullScreen);
    return self<SDKMenuViewController>();
}

void SDKMenuViewController::loadView() {
    // The background catches every touch outside the panel and closes the menu.
    Ref<UIControl> background = alloc<UIControl>()->initWithFrame(UIScreen::mainScreen()->bounds());
    background->addTarget(self<SDKMenuViewController>(), &SDKMenuViewController::close,
                          UIControlEventTouchUpInside);
    setView(background);
    // A control with no actions: touches between its rows stop there.
    _panel = alloc<UIControl>()->init();
    _panel->setBackgroundColor(
        UIColor::colorWithDynamicProvider([](const Ref<UITraitCollection>& traits) {
            return traits && traits->userInterfaceStyle() == UIUserInterfaceStyleDark
                       ? UIColor::colorWithRed(37 / 255.0, 37 / 255.0, 37 / 255.0, 1)
                       : UIColor::colorWithWhite(0.97, 1);
        }));
    _panel->layer()->setCornerRadius(kCornerRadius);
    _panel->setClipsToBounds(true);
    background->addSubview(_panel);
    _panelHeight = _menu ? addRows(_menu, 0) : 0;
    placePanel();
}

CGFloat SDKMenuViewController::addRows(const Ref<UIMenu>& menu, CGFloat y) {
    bool first = true;
    for (const Ref<UIMenuElement>& element : menu->children()) {
        if (auto child = objc_cast<UIMenu>(element)) {
            // A group of its own: a wider gap, and its title above its rows.
            if (y > 0) {
                Ref<UIView> gap =
                    alloc<UIView>()->initWithFrame(CGRectMake(0, y, kWidth, kGroupGap));
                gap->setBackgroundColor(UIColor::colorWithWhite(0, 0.08));
                _panel->addSubview(gap);
                y += kGroupGap;
            }
            if (!child->title().empty()) {
                Ref<UILabel> header = alloc<UILabel>()->initWithFrame(
                    CGRectMake(kRowInset, y, kWidth - 2 * kRowInset, kHeaderHeight));
                header->setText(child->title());
                header->setFont(UIFont::systemFontOfSize(13));
                header->setTextColor(UIColor::secondaryLabelColor());
                _panel->addSubview(header);
                y += kHeaderHeight;
            }
            y = addRows(child, y);
            first = true;
            continue;
        }
        auto action = objc_cast<UIAction>(element);
        if (!action || (action->attributes() & UIMenuElementAttributesHidden)) {
            continue;
        }
        if (!first) {
            Ref<UIView> line = alloc<UIView>()->initWithFrame(CGRectMake(0, y, kWidth, 0.5));
            line->setBackgroundColor(UIColor::separatorColor());
            _panel->addSubview(line);
        }
        first = false;
        Ref<UIButton> row = UIButton::buttonWithType(UIButtonTypeCustom);
        row->setFrame(CGRectMake(0, y, kWidth, kRowHeight));
        row->setTitle(action->title(), UIControlStateNormal);
        const bool disabled = action->attributes() & UIMenuElementAttributesDisabled;
        const bool destructive = action->attributes() & UIMenuElementAttributesDestructive;
        Ref<UIColor> color = disabled      ? UIColor::tertiaryLabelColor()
                             : destructive ? UIColor::systemRedColor()
                                           : UIColor::labelColor();
        row->setTitleColor(color, UIControlStateNormal);
        row->setTintColor(color);
        row->setContentHorizontalAlignment(UIControlContentHorizontalAlignmentLeft);
        row->setContentEdgeInsets(UIEdgeInsetsMake(0, kRowInset, 0, kRowInset + kImageSize));
        row->setEnabled(!disabled);
        if (action->image()) {
            Ref<UIImageView> image = alloc<UIImageView>()->initWithFrame(
                CGRectMake(kWidth - kRowInset - kImageSize, (kRowHeight - kImageSize) / 2,
                           kImageSize, kImageSize));
            image->setImage(action->image());
            image->setContentMode(UIViewContentModeScaleAspectFit);
            row->addSubview(image);
        }
        Weak<SDKMenuViewController> weakSelf = self<SDKMenuViewController>();
        Weak<UIAction> weakAction = action;
        row->addAction(UIAction::actionWithTitle(action->title(), nullptr, std::nullopt,
                                                 [weakSelf, weakAction](const Ref<UIAction>&) {
                                                     Ref<SDKMenuViewController> me =
                                                         weakSelf.lock();
                                                     Ref<UIAction> chosen = weakAction.lock();
                                                     if (me && chosen) {
                                                         me->choose(chosen);
                                                     }
                                                 }),
                       UIControlEventTouchUpInside);
        _panel->addSubview(row);
        _rows.emplace_back(action, row);
        y += kRowHeight;
    }
    return y;
}

void SDKMenuViewController::placePanel() {
    const CGRect screen = UIScreen::mainScreen()->bounds();
    const CGFloat height = std::min(_panelHeight, screen.size.height - 2 * kScreenMargin);
    // Lined up with the source's nearer edge, kept on the screen.
    const bool rightHalf = CGRectGetMidX(_sourceRect) > CGRectGetMidX(screen);
    CGFloat x = rightHalf ? CGRectGetMaxX(_sourceRect) - kWidth : _sourceRect.origin.x;
    x = std::clamp(x, kScreenMargin,
                   std::max(kScreenMargin, screen.size.width - kWidth - kScreenMargin));
    CGFloat y = CGRectGetMaxY(_sourceRect) + kScreenMargin;
    if (y + height > screen.size.height - kScreenMargin) {
        y = _sourceRect.origin.y - kScreenMargin - height;
    }
    y = std::clamp(y, kScreenMargin,
                   std::max(kScreenMargin, screen.size.height - height - kScreenMargin));
    _panel->setFrame(CGRectMake(x, y, kWidth, height));
}

void SDKMenuViewController::choose(const Ref<UIAction>& action) {
    Ref<SDKMenuViewController> me = self<SDKMenuViewController>();
    dismissViewControllerAnimated(true, [action] { action->performWithSender(); });
}

void SDKMenuViewController::close() {
    dismissViewControllerAnimated(true, nullptr);
}
