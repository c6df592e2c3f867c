#include <SafariServices/SFSafariViewController.h>

#include <Foundation/NSException.h>
#include <Foundation/NSString.h>

namespace {

bool isWebScheme(const std::optional<std::string>& scheme) {
    if (!scheme) {
        return false;
    }
    const std::string upper = NSString::uppercaseString(*scheme);
    return upper == "HTTP" || upper == "HTTPS";
}

} // namespace

Ref<SFSafariViewController> SFSafariViewController::initWithURL(const Ref<NSURL>& URL) {
    if (!URL) {
        throw NSException(NSInvalidArgumentException, "The specified URL must not be nil.");
    }
    if (!isWebScheme(URL->scheme())) {
        throw NSException(NSInvalidArgumentException,
                          "The specified URL has an unsupported scheme. Only HTTP and HTTPS URLs "
                          "are supported.");
    }
    UIViewController::init();
    _URL = URL;
    return self<SFSafariViewController>();
}
