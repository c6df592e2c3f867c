#pragma once

#include <Foundation/NSURL.h>
#include <SafariServices/SFSafariViewControllerDelegate.h>
#include <UIKit/UIViewController.h>

// The in-app browser: shows one web page over the screen that presents it,
// under an address bar with the page's host and a Done control. Pages are not
// loaded on this machine; the browser shows which address it was opened with.
class SFSafariViewController : public UIViewController {
public:
    // Raises NSInvalidArgumentException for a nil URL or one whose scheme is
    // not http or https, as the platform does.
    Ref<SFSafariViewController> initWithURL(const Ref<NSURL>& URL);

    Ref<NSURL> URL() const { return _URL; }
    Ref<SFSafariViewControllerDelegate> delegate() const { return _delegate.lock(); }
    void setDelegate(const Ref<SFSafariViewControllerDelegate>& delegate) { _delegate = delegate; }

private:
    Ref<NSURL> _URL;
    Weak<SFSafariViewControllerDelegate> _delegate;
};
