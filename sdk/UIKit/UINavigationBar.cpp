#include <UIKit/UINavigationBar.h>

#include <algorithm>

#include <QuartzCore/CAShapeLayer.h>
#include <UIKit/SDKSystemText.h>
#include <UIKit/UIAction.h>
#include <UIKit/UIBarButtonItem.h>
#include <UIKit/UIButton.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIFont.h>
#include <UIKit/UILabel.h>
#include <UIKit/UINavigationItem.h>

namespace {

// Where the back button's title starts, right of the chevron.
constexpr CGFloat kBackTitleLeft = 26;
// The title keeps clear of the buttons at either side.
constexpr CGFloat kTitleInset = 96;

// The back button's chevron, pointing back: left, or right at the right
// edge of a button `width` wide in a right-to-left layout.
CGPathRef chevronPath(bool rightToLeft, CGFloat width) {
    auto x = [&](CGFloat leftToRight) { return rightToLeft ? width - leftToRight : leftToRight; };
    auto path = std::make_shared<CGPath>();
    path->moveTo({x(19), 12});
    path->lineTo({x(10.5), 22});
    path->lineTo({x(19), 32});
    return path;
}

Ref<CAShapeLayer> chevron(const Ref<UIColor>& color) {
    Ref<CAShapeLayer> layer = CAShapeLayer::layer();
    layer->setPath(chevronPath(false, 0));
    layer->setFillColor(nullptr);
    layer->setStrokeColor(color->CGColor());
    layer->setLineWidth(3);
    return layer;
}

void removeView(Ref<UIView>& view) {
    if (view) {
        view->removeFromSuperview();
        view = nullptr;
    }
}

} // namespace

Ref<UINavigationBar> UINavigationBar::initWithFrame(const CGRect& frame) {
    UIView::initWithFrame(frame);
    setBackgroundColor(UIColor::systemGroupedBackgroundColor());
    return self<UINavigationBar>();
}

void UINavigationBar::setItems(std::vector<Ref<UINavigationItem>> items) {
    for (const Ref<UINavigationItem>& item : _items) {
        item->_bar.reset();
    }
    _items = std::move(items);
    for (const Ref<UINavigationItem>& item : _items) {
        item->_bar = self<UINavigationBar>();
    }
    showItems();
}

Ref<UIView> UINavigationBar::viewForItem(const Ref<UIBarButtonItem>& item) {
    if (!item) {
        return nullptr;
    }
    if (Ref<UIView> custom = item->customView()) {
        return custom;
    }
    Ref<UIButton> button = UIButton::buttonWithType(UIButtonTypeSystem);
    button->setImage(item->image(), UIControlStateNormal);
    button->setTitle(item->title(), UIControlStateNormal);
    if (item->style() == UIBarButtonItemStyleDone) {
        button->titleLabel()->setFont(UIFont::boldSystemFontOfSize(17));
    }
    button->setTintColor(item->tintColor());
    button->setEnabled(item->isEnabled());
    if (item->hasAction()) {
        Weak<UIBarButtonItem> weakItem = item;
        button->addAction(UIAction::actionWithTitle(item->title(), item->image(), std::nullopt,
                                                    [weakItem](const Ref<UIAction>&) {
                                                        if (Ref<UIBarButtonItem> tapped =
                                                                weakItem.lock()) {
                                                            tapped->sendAction();
                                                        }
                                                    }),
                          UIControlEventTouchUpInside);
    } else if (item->menu()) {
        button->setMenu(item->menu());
        button->setShowsMenuAsPrimaryAction(true);
    }
    return button;
}

void UINavigationBar::showItems() {
    removeView(_titleView);
    if (_titleLabel) {
        _titleLabel->removeFromSuperview();
        _titleLabel = nullptr;
    }
    if (_backButton) {
        _backButton->removeFromSuperview();
        _backButton = nullptr;
    }
    removeView(_leftButton);
    removeView(_rightButton);
    Ref<UINavigationItem> top = topItem();
    if (!top) {
        setNeedsLayout();
        return;
    }
    if (Ref<UIView> titleView = top->titleView()) {
        _titleView = titleView;
        addSubview(titleView);
    } else {
        _titleLabel = alloc<UILabel>()->init();
        _titleLabel->setText(top->title());
        _titleLabel->setFont(UIFont::boldSystemFontOfSize(17));
        _titleLabel->setTextAlignment(NSTextAlignmentCenter);
        addSubview(_titleLabel);
    }
    _leftButton = viewForItem(top->leftBarButtonItem());
    if (_leftButton) {
        addSubview(_leftButton);
    } else if (Ref<UINavigationItem> back = backItem(); back && !top->hidesBackButton()) {
        Ref<UIBarButtonItem> backBarItem = back->backBarButtonItem();
        const std::optional<std::string> title = backBarItem && backBarItem->title()
                                                     ? backBarItem->title()
                                                 : back->backButtonTitle() ? back->backButtonTitle()
                                                                           : back->title();
        _backButton = UIButton::buttonWithType(UIButtonTypeSystem);
        _backButton->setTitle(title.value_or(SDKSystemText::localized("Back")),
                              UIControlStateNormal);
        _backButton->setContentHorizontalAlignment(UIControlContentHorizontalAlignmentLeft);
        _backButton->setContentEdgeInsets(UIEdgeInsetsMake(0, kBackTitleLeft, 0, 0));
        _backButton->layer()->addSublayer(chevron(_backButton->tintColor()));
        _backButton->addTarget(self<UINavigationBar>(), &UINavigationBar::backTapped,
                               UIControlEventTouchUpInside);
        addSubview(_backButton);
    }
    _rightButton = viewForItem(top->rightBarButtonItem());
    if (_rightButton) {
        addSubview(_rightButton);
    }
    setNeedsLayout();
}

void UINavigationBar::backTapped() {
    if (_backHandler) {
        std::function<void()> handler = _backHandler;
        handler();
    }
}

void UINavigationBar::layoutSubviews() {
    const CGRect b = bounds();
    if (_titleLabel) {
        _titleLabel->setFrame(CGRectMake(
            kTitleInset, 0, std::max(0.0, b.size.width - 2 * kTitleInset), b.size.height));
    }
    if (_titleView) {
        const CGSize size = _titleView->frame().size;
        _titleView->setFrame(CGRectMake(CGRectGetMidX(b) - size.width / 2,
                                        CGRectGetMidY(b) - size.height / 2, size.width,
                                        size.height));
    }
    // Right to left, the back button is at the right, its chevron pointing
    // right, and the bar buttons change sides.
    const bool rightToLeft =
        effectiveUserInterfaceLayoutDirection() == UIUserInterfaceLayoutDirectionRightToLeft;
    if (_backButton) {
        // As wide as its title, up to the room the page's title leaves beside it.
        const CGFloat titleWidth = _backButton->titleLabel()->intrinsicContentSize().width;
        const CGFloat pageTitle = _titleLabel  ? _titleLabel->intrinsicContentSize().width
                                  : _titleView ? _titleView->frame().size.width
                                               : 0;
        const CGFloat room = std::max(kTitleInset + 10, (b.size.width - pageTitle) / 2 - 8);
        const CGFloat width = std::min(kBackTitleLeft + titleWidth + 8, room);
        _backButton->setFrame(directionalRect(CGRectMake(0, 0, width, b.size.height)));
        _backButton->setContentHorizontalAlignment(rightToLeft
                                                       ? UIControlContentHorizontalAlignmentRight
                                                       : UIControlContentHorizontalAlignmentLeft);
        _backButton->setContentEdgeInsets(rightToLeft ? UIEdgeInsetsMake(0, 0, 0, kBackTitleLeft)
                                                      : UIEdgeInsetsMake(0, kBackTitleLeft, 0, 0));
        for (const Ref<CALayer>& layer : _backButton->layer()->sublayers()) {
            if (Ref<CAShapeLayer> shape = std::dynamic_pointer_cast<CAShapeLayer>(layer)) {
                shape->setPath(chevronPath(rightToLeft, width));
            }
        }
    }
    // A bar button is as wide as it wants to be, and no narrower than it is high.
    auto place = [&](const Ref<UIView>& view, bool right) {
        CGSize size = view->intrinsicContentSize();
        if (size.width < 0 || size.height < 0) {
            size = view->frame().size;
        }
        const CGFloat width = std::max(size.width, std::min(b.size.height, 44.0));
        const CGFloat x = right ? b.size.width - kMargin - width : kMargin;
        view->setFrame(directionalRect(CGRectMake(x, 0, width, b.size.height)));
    };
    if (_leftButton) {
        place(_leftButton, false);
    }
    if (_rightButton) {
        place(_rightButton, true);
    }
}
