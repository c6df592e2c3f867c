#include <UIKit/UIAlertController.h>

#include <algorithm>

#include <Foundation/NSException.h>
#include <UIKit/NSStringDrawing.h>
#include <UIKit/UIAlertAction.h>
#include <UIKit/UIButton.h>
#include <UIKit/UIColor.h>
#include <UIKit/UILabel.h>
#include <UIKit/UILayoutContainerView.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UITextField.h>

Ref<UIAlertController>
UIAlertController::alertControllerWithTitle(const std::optional<std::string>& title,
                                            const std::optional<std::string>& message,
                                            UIAlertControllerStyle preferredStyle) {
    Ref<UIAlertController> alert = alloc<UIAlertController>();
    alert->init();
    alert->setTitle(title);
    alert->_message = message;
    alert->_preferredStyle = preferredStyle;
    // The alert lays out the whole screen itself: the dimming and the panel.
    alert->setModalPresentationStyle(UIModalPresentationCustom);
    return alert;
}

void UIAlertController::addAction(const Ref<UIAlertAction>& action) {
    if (!action) {
        return;
    }
    if (action->style() == UIAlertActionStyleCancel &&
        std::any_of(_actions.begin(), _actions.end(), [](const Ref<UIAlertAction>& other) {
            return other->style() == UIAlertActionStyleCancel;
        })) {
        throw NSException(
            NSInternalInconsistencyException,
            "UIAlertController can only have one action with a style of UIAlertActionStyleCancel");
    }
    _actions.push_back(action);
}

void UIAlertController::setPreferredAction(const Ref<UIAlertAction>& action) {
    if (action && std::find(_actions.begin(), _actions.end(), action) == _actions.end()) {
        throw NSException(NSInternalInconsistencyException,
                          "The preferredAction of an alert controller must be one of its actions");
    }
    _preferredAction = action;
}

void UIAlertController::addTextFieldWithConfigurationHandler(
    const TextFieldConfiguration& configurationHandler) {
    if (_preferredStyle != UIAlertControllerStyleAlert) {
        throw NSException(NSInternalInconsistencyException,
                          "Text fields can only be added to an alert controller of style "
                          "UIAlertControllerStyleAlert");
    }
    Ref<UITextField> field = alloc<UITextField>()->init();
    field->setFont(UIFont::systemFontOfSize(13));
    _textFields.push_back(field);
    if (configurationHandler) {
        configurationHandler(field);
    }
}

void UIAlertController::loadView() {
    Weak<UIAlertController> weakSelf = self<UIAlertController>();
    Ref<UIView> screen =
        alloc<UILayoutContainerView>()->initWithFrame(UIScreen::mainScreen()->bounds(), [weakSelf] {
            if (Ref<UIAlertController> alert = weakSelf.lock()) {
                alert->layoutPanel();
            }
        });
    screen->setBackgroundColor(UIColor::colorWithWhite(0, kDimming));
    setView(screen);

    _panel = alloc<UIView>()->init();
    // The panel is a light or a dark material.
    _panel->setBackgroundColor(
        UIColor::colorWithDynamicProvider([](const Ref<UITraitCollection>& traits) {
            return traits && traits->userInterfaceStyle() == UIUserInterfaceStyleDark
                       ? UIColor::colorWithRed(44 / 255.0, 44 / 255.0, 46 / 255.0, 1)
                       : UIColor::colorWithWhite(0.95, 1);
        }));
    _panel->layer()->setCornerRadius(kCornerRadius);
    _panel->setClipsToBounds(true);
    screen->addSubview(_panel);
    auto label = [&](const std::optional<std::string>& text, Ref<UIFont> font) {
        Ref<UILabel> made = alloc<UILabel>()->init();
        made->setText(text);
        made->setFont(std::move(font));
        made->setTextAlignment(NSTextAlignmentCenter);
        made->setNumberOfLines(0);
        _panel->addSubview(made);
        return made;
    };
    _titleLabel = label(title(), UIFont::boldSystemFontOfSize(17));
    _messageLabel = label(_message, UIFont::systemFontOfSize(13));
    for (const Ref<UITextField>& field : _textFields) {
        Ref<UIView> box = alloc<UIView>()->init();
        box->setBackgroundColor(UIColor::tertiarySystemBackgroundColor());
        box->layer()->setCornerRadius(6);
        box->layer()->setBorderWidth(0.5);
        box->layer()->setBorderColor(UIColor::opaqueSeparatorColor()->CGColor());
        box->addSubview(field);
        _panel->addSubview(box);
        _fieldBoxes.push_back(box);
    }
    for (const Ref<UIAlertAction>& action : _actions) {
        Ref<UIView> line = alloc<UIView>()->init();
        line->setBackgroundColor(UIColor::separatorColor());
        _panel->addSubview(line);
        _separators.push_back(line);
        Ref<UIButton> button = UIButton::buttonWithType(UIButtonTypeSystem);
        button->setTitle(action->title(), UIControlStateNormal);
        const bool bold = action->style() == UIAlertActionStyleCancel || action == _preferredAction;
        button->titleLabel()->setFont(bold ? UIFont::boldSystemFontOfSize(17)
                                           : UIFont::systemFontOfSize(17));
        button->titleLabel()->setAdjustsFontSizeToFitWidth(true);
        button->titleLabel()->setMinimumScaleFactor(0.7);
        if (action->style() == UIAlertActionStyleDestructive) {
            button->setTitleColor(UIColor::systemRedColor(), UIControlStateNormal);
        }
        button->setEnabled(action->isEnabled());
        button->addTarget(self<UIAlertController>(), &UIAlertController::actionButtonTapped,
                          UIControlEventTouchUpInside);
        action->_button = button;
        _panel->addSubview(button);
        _buttons.push_back(button);
    }
    layoutPanel();
}

void UIAlertController::layoutPanel() {
    const CGRect screen = view()->bounds();
    const CGFloat textWidth = kWidth - 2 * kPadding;
    auto textHeight = [&](const Ref<UILabel>& label) {
        return label->text() && !label->text()->empty()
                   ? NSStringDrawing::boundingSizeWithFont(*label->text(), label->font(), textWidth)
                         .height
                   : 0.0;
    };
    const CGFloat titleHeight = textHeight(_titleLabel);
    const CGFloat messageHeight = textHeight(_messageLabel);
    CGFloat y = 20;
    _titleLabel->setFrame(CGRectMake(kPadding, y, textWidth, titleHeight));
    y += titleHeight;
    if (messageHeight > 0) {
        y += 2;
    }
    _messageLabel->setFrame(CGRectMake(kPadding, y, textWidth, messageHeight));
    y += messageHeight;
    if (!_fieldBoxes.empty()) {
        y += 12;
    }
    for (size_t i = 0; i < _fieldBoxes.size(); ++i) {
        _fieldBoxes[i]->setFrame(CGRectMake(kPadding, y, textWidth, kFieldHeight));
        _textFields[i]->setFrame(CGRectMake(6, 0, textWidth - 12, kFieldHeight));
        y += kFieldHeight;
    }
    y += 20;
    // Two buttons sit side by side; any other number, one above the other.
    const bool sideBySide = _buttons.size() == 2;
    for (size_t i = 0; i < _buttons.size(); ++i) {
        const CGFloat width = sideBySide ? kWidth / 2 : kWidth;
        const CGRect frame = sideBySide
                                 ? CGRectMake(i * width, y, width, kButtonHeight)
                                 : CGRectMake(0, y + i * kButtonHeight, width, kButtonHeight);
        _buttons[i]->setFrame(frame);
        _buttons[i]->setContentEdgeInsets(UIEdgeInsetsMake(0, 8, 0, 8));
        _buttons[i]->setEnabled(_actions[i]->isEnabled());
        // A hairline above the buttons, and between each two.
        _separators[i]->setFrame(sideBySide && i == 1
                                     ? CGRectMake(frame.origin.x, y, 0.5, kButtonHeight)
                                     : CGRectMake(0, frame.origin.y, kWidth, 0.5));
    }
    const CGFloat buttons =
        _buttons.empty() ? 0
                         : kButtonHeight * (sideBySide ? 1 : static_cast<CGFloat>(_buttons.size()));
    const CGFloat height = y + buttons;
    _panel->setFrame(CGRectMake(CGRectGetMidX(screen) - kWidth / 2,
                                std::max(20.0, CGRectGetMidY(screen) - height / 2), kWidth,
                                height));
}

void UIAlertController::viewDidAppear(bool) {
    if (!_textFields.empty()) {
        _textFields.front()->becomeFirstResponder();
    }
}

void UIAlertController::actionButtonTapped(const Ref<UIButton>& button) {
    auto found = std::find(_buttons.begin(), _buttons.end(), button);
    if (found == _buttons.end() || !presentingViewController()) {
        return;
    }
    Ref<UIAlertAction> action = _actions[found - _buttons.begin()];
    if (!action->isEnabled()) {
        return;
    }
    // The alert and its action outlive the dismissal, whoever else lets go of them.
    Ref<UIAlertController> alert = self<UIAlertController>();
    dismissViewControllerAnimated(true, [action] {
        if (action->handler()) {
            action->handler()(action);
        }
    });
}
