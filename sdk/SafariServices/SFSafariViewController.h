#pragma once

#include <Foundation/Forward.h>
#include <SafariServices/Forward.h>
#include <UIKit/UIViewController.h>

// The in-app browser, over the whole screen: an address bar with the page's
// host and a Done control, and the page below it. Pages are not loaded on
// this machine; the page area shows the address the browser was opened with,
// which is also its title.
// Done tells the delegate, then the browser is dismissed.
class SFSafariViewController : public UIViewController {
public:
    // Raises NSInvalidArgumentException for a nil URL or one whose scheme is
    // not http or https, as the platform does.
    Ref<SFSafariViewController> initWithURL(const Ref<NSURL>& URL);

    Ref<SFSafariViewControllerDelegate> delegate() const { return _delegate.lock(); }
    void setDelegate(const Ref<SFSafariViewControllerDelegate>& delegate) { _delegate = delegate; }

    void loadView() override;

private:
    void doneTapped();

    Ref<NSURL> _URL;
    Weak<SFSafariViewControllerDelegate> _delegate;
};
