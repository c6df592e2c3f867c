#include <UIKit/UIApplication.h>

#include <Foundation/NSLocale.h>
#include <Foundation/NSURL.h>
#include <Foundation/SDKEventLog.h>
#include <Foundation/dispatch.h>
#include <UIKit/SDKMainThreadChecker.h>

Ref<UIApplication> UIApplication::sharedApplication() {
    static const Ref<UIApplication> application = alloc<UIApplication>();
    return application;
}

void UIApplication::openURL(const Ref<NSURL>& url, const Value::Dictionary&,
                            const std::function<void(bool success)>& completion) {
    const SDKMainThreadChecker::Entry entry("-[UIApplication openURL:options:completionHandler:]");
    if (url) {
        SDKEventLog::record(SDKEvents::OpenURL{url->absoluteString()});
    }
    if (completion) {
        const bool handedOver = url != nullptr;
        dispatch_async(dispatch_get_main_queue(),
                       [completion, handedOver] { completion(handedOver); });
    }
}

UIUserInterfaceLayoutDirection UIApplication::userInterfaceLayoutDirection() const {
    const std::vector<std::string> languages = NSLocale::preferredLanguages();
    return NSLocale::characterDirectionForLanguage(languages.front()) ==
                   NSLocaleLanguageDirectionRightToLeft
               ? UIUserInterfaceLayoutDirectionRightToLeft
               : UIUserInterfaceLayoutDirectionLeftToRight;
}
