#include <MessageUI/MFMailComposeViewController.h>

#include <algorithm>

#include <Foundation/NSError.h>
#include <Foundation/SDKEventLog.h>
#include <MessageUI/SDKMailAccount.h>
#include <UIKit/SDKSystemText.h>
#include <UIKit/UIButton.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIFont.h>
#include <UIKit/UILabel.h>
#include <UIKit/UILayoutContainerView.h>
#include <UIKit/UIScreen.h>

namespace {

constexpr CGFloat kMargin = 16;
constexpr CGFloat kTop = 10;
constexpr CGFloat kBarHeight = 56;
constexpr CGFloat kFieldHeight = 44;
constexpr CGFloat kChoiceHeight = 56;

Ref<UIButton> barButton(const std::string& title, const Ref<UIColor>& color) {
    Ref<UIButton> button = UIButton::buttonWithType(UIButtonTypeCustom);
    button->setTitle(title, UIControlStateNormal);
    button->setTitleColor(color, UIControlStateNormal);
    return button;
}

Ref<UILabel> fieldLabel(const std::string& text) {
    Ref<UILabel> label = alloc<UILabel>()->init();
    label->setText(text);
    label->setFont(UIFont::systemFontOfSize(15));
    return label;
}

std::string joined(const std::vector<std::string>& addresses) {
    std::string text;
    for (const std::string& address : addresses) {
        text += (text.empty() ? "" : ", ") + address;
    }
    return text;
}

} // namespace

bool MFMailComposeViewController::canSendMail() {
    return SDKMailAccount::isConfigured();
}

void MFMailComposeViewController::loadView() {
    Weak<MFMailComposeViewController> weakSelf = self<MFMailComposeViewController>();
    Ref<UIView> screen =
        alloc<UILayoutContainerView>()->initWithFrame(UIScreen::mainScreen()->bounds(), [weakSelf] {
            if (Ref<MFMailComposeViewController> composer = weakSelf.lock()) {
                composer->layoutContent();
            }
        });
    screen->setBackgroundColor(UIColor::colorWithWhite(0, 0.2));
    setView(screen);

    _sheet = alloc<UIView>()->init();
    _sheet->setBackgroundColor(UIColor::systemBackgroundColor());
    _sheet->layer()->setCornerRadius(12);
    screen->addSubview(_sheet);

    const Ref<MFMailComposeViewController> me = self<MFMailComposeViewController>();
    _cancelButton = barButton(SDKSystemText::localized("Cancel"), UIColor::systemBlueColor());
    _cancelButton->addTarget(me, &MFMailComposeViewController::cancelTapped,
                             UIControlEventTouchUpInside);
    _sheet->addSubview(_cancelButton);
    _titleLabel = alloc<UILabel>()->init();
    _titleLabel->setText(_subject.empty() ? SDKSystemText::localized("New Message") : _subject);
    _titleLabel->setFont(UIFont::boldSystemFontOfSize(17));
    _titleLabel->setTextAlignment(NSTextAlignmentCenter);
    _sheet->addSubview(_titleLabel);
    _sendButton = barButton(SDKSystemText::localized("Send"), UIColor::systemBlueColor());
    _sendButton->addTarget(me, &MFMailComposeViewController::sendTapped,
                           UIControlEventTouchUpInside);
    _sheet->addSubview(_sendButton);

    for (const std::string& field :
         {SDKSystemText::localized("To:") + " " + joined(_toRecipients), std::string("Cc/Bcc:"),
          SDKSystemText::localized("Subject:") + " " + _subject}) {
        _fields.push_back(fieldLabel(field));
        _sheet->addSubview(_fields.back());
        _separators.push_back(alloc<UIView>()->init());
        _separators.back()->setBackgroundColor(UIColor::separatorColor());
        _sheet->addSubview(_separators.back());
    }

    // What "Cancel" offers, hidden until then.
    _deleteDraftButton =
        barButton(SDKSystemText::localized("Delete Draft"), UIColor::systemRedColor());
    _saveDraftButton =
        barButton(SDKSystemText::localized("Save Draft"), UIColor::systemBlueColor());
    for (const Ref<UIButton>& choice : {_deleteDraftButton, _saveDraftButton}) {
        choice->setBackgroundColor(UIColor::secondarySystemGroupedBackgroundColor());
        choice->layer()->setCornerRadius(12);
        choice->setHidden(true);
        _sheet->addSubview(choice);
    }
    _deleteDraftButton->addTarget(me, &MFMailComposeViewController::deleteDraftTapped,
                                  UIControlEventTouchUpInside);
    _saveDraftButton->addTarget(me, &MFMailComposeViewController::saveDraftTapped,
                                UIControlEventTouchUpInside);
}

void MFMailComposeViewController::layoutContent() {
    const CGRect bounds = view()->bounds();
    const CGFloat width = bounds.size.width;
    const CGFloat inner = std::max(0.0, width - 2 * kMargin);
    _sheet->setFrame(CGRectMake(0, kTop, width, std::max(0.0, bounds.size.height - kTop) + 12));
    // The bar buttons take their titles' widths, in every language; right to
    // left, Cancel is at the right and Send at the left.
    const CGFloat cancelWidth = std::max(70.0, _cancelButton->intrinsicContentSize().width);
    const CGFloat sendWidth = std::max(60.0, _sendButton->intrinsicContentSize().width);
    const CGFloat side = std::max(cancelWidth, sendWidth) + 10;
    _cancelButton->setFrame(_sheet->directionalRect(CGRectMake(kMargin, 12, cancelWidth, 32)));
    _sendButton->setFrame(
        _sheet->directionalRect(CGRectMake(width - kMargin - sendWidth, 12, sendWidth, 32)));
    _titleLabel->setFrame(CGRectMake(kMargin + side, 12, std::max(0.0, inner - 2 * side), 32));
    CGFloat y = kBarHeight;
    for (size_t i = 0; i < _fields.size(); ++i) {
        _fields[i]->setFrame(CGRectMake(kMargin, y, inner, kFieldHeight));
        y += kFieldHeight;
        _separators[i]->setFrame(CGRectMake(kMargin, y, inner, 0.5));
    }
    const CGFloat bottom = bounds.size.height - kTop - 40;
    _saveDraftButton->setFrame(CGRectMake(kMargin, bottom - kChoiceHeight, inner, kChoiceHeight));
    _deleteDraftButton->setFrame(
        CGRectMake(kMargin, bottom - 2 * kChoiceHeight - 8, inner, kChoiceHeight));
}

void MFMailComposeViewController::sendTapped() {
    finishWithResult(MFMailComposeResultSent);
}

void MFMailComposeViewController::cancelTapped() {
    _deleteDraftButton->setHidden(false);
    _saveDraftButton->setHidden(false);
}

void MFMailComposeViewController::deleteDraftTapped() {
    finishWithResult(MFMailComposeResultCancelled);
}

void MFMailComposeViewController::saveDraftTapped() {
    finishWithResult(MFMailComposeResultSaved);
}

void MFMailComposeViewController::finishWithResult(MFMailComposeResult result) {
    Ref<NSError> error;
    if (result == MFMailComposeResultSent && SDKMailAccount::sendingFails()) {
        result = MFMailComposeResultFailed;
        // MFMailComposeErrorCodeSendFailed.
        error = NSError::errorWithDomain("MFMailComposeErrorDomain", 1,
                                         "The message could not be sent.");
    }
    SDKEventLog::record(SDKEvents::MailComposeResult{static_cast<long>(result)});
    _deleteDraftButton->setHidden(true);
    _saveDraftButton->setHidden(true);
    if (Ref<MFMailComposeViewControllerDelegate> delegate = mailComposeDelegate()) {
        delegate->mailComposeController(self<MFMailComposeViewController>(), result, error);
    }
}
