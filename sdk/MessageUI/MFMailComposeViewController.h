#pragma once

#include <optional>
#include <string>
#include <vector>

#include <Foundation/Forward.h>
#include <UIKit/Forward.h>
#include <UIKit/UIKitDefines.h>
#include <UIKit/UIViewController.h>

class MFMailComposeViewController;

enum MFMailComposeResult : NSInteger {
    MFMailComposeResultCancelled = 0,
    MFMailComposeResultSaved = 1,
    MFMailComposeResultSent = 2,
    MFMailComposeResultFailed = 3,
};

// Hears how the person left the composer; it is the delegate's job to dismiss it.
class MFMailComposeViewControllerDelegate {
public:
    virtual ~MFMailComposeViewControllerDelegate() = default;
    virtual void mailComposeController(const Ref<MFMailComposeViewController>& controller,
                                       MFMailComposeResult result, const Ref<NSError>& error) = 0;
};

// The system's mail composer, shown as a sheet: "Cancel" and "Send" in its
// bar, then the recipients, the subject and the body. "Send" finishes with
// sent (failed, with an error, when the account cannot send); "Cancel" asks
// whether to "Delete Draft" (cancelled) or "Save Draft" (saved). The delegate
// hears the result; the composer stays until it is dismissed.
class MFMailComposeViewController : public UIViewController {
public:
    Ref<MFMailComposeViewController> init() {
        UIViewController::init();
        return self<MFMailComposeViewController>();
    }

    // Whether the device has a mail account to send from.
    static bool canSendMail();

    const std::string& subject() const { return _subject; }
    void setSubject(const std::optional<std::string>& subject) { _subject = subject.value_or(""); }
    const std::vector<std::string>& toRecipients() const { return _toRecipients; }
    void setToRecipients(const std::vector<std::string>& recipients) { _toRecipients = recipients; }

    // Held weakly.
    Ref<MFMailComposeViewControllerDelegate> mailComposeDelegate() const {
        return _mailComposeDelegate.lock();
    }
    void setMailComposeDelegate(const Ref<MFMailComposeViewControllerDelegate>& delegate) {
        _mailComposeDelegate = delegate;
    }

    void loadView() override;

private:
    void layoutContent();
    void sendTapped();
    void cancelTapped();
    void deleteDraftTapped();
    void saveDraftTapped();
    void finishWithResult(MFMailComposeResult result);

    std::string _subject;
    std::vector<std::string> _toRecipients;
    Weak<MFMailComposeViewControllerDelegate> _mailComposeDelegate;

    Ref<UIView> _sheet;
    Ref<UIButton> _cancelButton;
    Ref<UILabel> _titleLabel;
    Ref<UIButton> _sendButton;
    std::vector<Ref<UILabel>> _fields;
    std::vector<Ref<UIView>> _separators;
    Ref<UIButton> _deleteDraftButton;
    Ref<UIButton> _saveDraftButton;
};
