#pragma once

#include <objc/Ref.h>

class SFSafariViewController;

// Hears the in-app browser close.
class SFSafariViewControllerDelegate {
public:
    virtual ~SFSafariViewControllerDelegate() = default;
    // The user closed the browser with its Done control; the browser is
    // dismissed after this returns, unless the delegate has dismissed it.
    virtual void safariViewControllerDidFinish(const Ref<SFSafariViewController>&) {}
};
