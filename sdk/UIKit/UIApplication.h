#pragma once

#include <functional>

#include <Foundation/Forward.h>
#include <Foundation/Value.h>
#include <UIKit/UIKitDefines.h>
#include <objc/NSObject.h>

// The running application. Addresses it is asked to open are handed to the
// system: the host records each one (an "openURL" event with its text) and
// nothing on this machine opens it.
class UIApplication : public NSObject {
public:
    static Ref<UIApplication> sharedApplication();

    // The completion handler, when given, runs later on the main queue with
    // whether the address was handed over (NO for a nil URL, which is ignored).
    void openURL(const Ref<NSURL>& url, const Value::Dictionary& options,
                 const std::function<void(bool success)>& completion);

    // Right to left when the device's first preferred language is written
    // so (Arabic, Hebrew, Persian, Urdu), as Settings is localised in every
    // language the device offers.
    UIUserInterfaceLayoutDirection userInterfaceLayoutDirection() const;
};
