#include "libklutils.h"

#include <Foundation/NSFileManager.h>
#include <Foundation/NSMutableDictionary.h>
#include <Foundation/NSProcessInfo.h>
#include <Foundation/NSString.h>
#include <Foundation/dispatch.h>
#include <objc/ObjCExport.h>

namespace {

constexpr const char* kRootlessPrefix = "/var/jb/";
constexpr const char* kRootfulPrefix = "/";
constexpr const char* kPlaceholder = ":root:";
// Rootless jailbreaks keep their files under /var/jb from iOS 15 on.
constexpr NSOperatingSystemVersion kRootlessSince{15, 0, 0};

constexpr objc_method kClassMethods[] = {
    ObjCExport::classMethod<&KLUtilities::sharedInstance>("sharedInstance")};
constexpr objc_method kInstanceMethods[] = {
    ObjCExport::method<&KLUtilities::isPennantInstalled>("isPennantInstalled"),
    ObjCExport::method<&KLUtilities::isLumbraInstalled>("isLumbraInstalled"),
    ObjCExport::method<&KLUtilities::rootPrefix>("rootPrefix"),
    ObjCExport::method<&KLUtilities::correctedFilePathFromPathWithRootPrefix>(
        "correctedFilePathFromPathWithRootPrefix:"),
    ObjCExport::method<&KLUtilities::LumbraHeight>("LumbraHeight"),
    ObjCExport::method<&KLUtilities::setLumbraHeight>("setLumbraHeight:"),
};

} // namespace

// The class record found by name; a constant, so loading the library runs nothing.
extern "C"
    __attribute__((visibility("default"))) constinit const objc_class OBJC_CLASS_$_KLUtilities{
        "KLUtilities", nullptr, kClassMethods, kInstanceMethods};

Ref<KLUtilities> KLUtilities::sharedInstance() {
    static dispatch_once_t onceToken;
    // Made once and never released, so it outlives every static that might
    // still ask for it while the process exits.
    static Ref<KLUtilities>& shared = *new Ref<KLUtilities>();
    dispatch_once(&onceToken, [] {
        shared = std::static_pointer_cast<KLUtilities>(alloc<KLUtilities>()->init());
        shared->setFileManager(NSFileManager::defaultManager());
    });
    return shared;
}

bool KLUtilities::isPennantInstalled() {
    return isCompanionInstalled("/var/mobile/Library/Preferences/com.tevka.pennant.plist",
                                "/Library/MobileSubstrate/DynamicLibraries/Pennant.dylib");
}

bool KLUtilities::isLumbraInstalled() {
    return isCompanionInstalled("/var/mobile/Library/Preferences/com.tevka.lumbra.plist",
                                "/Library/MobileSubstrate/DynamicLibraries/Lumbra.dylib");
}

// The preferences are read before the library is looked for, whether or not
// it turns out to exist. Both paths are used as written, without the root
// prefix. A missing or unreadable preference file counts as enabled.
bool KLUtilities::isCompanionInstalled(const std::string& preferencePath,
                                       const std::string& libraryPath) {
    Ref<NSMutableDictionary> preferences =
        alloc<NSMutableDictionary>()->initWithContentsOfFile(preferencePath);
    if (!_fileManager || !_fileManager->fileExistsAtPath(libraryPath)) {
        return false;
    }
    if (preferences) {
        const Value& enabled = preferences->objectForKey("isEnabled");
        if (!enabled.isNil()) {
            return enabled.boolValue();
        }
    }
    return true;
}

std::string KLUtilities::rootPrefix() {
    bool isDirectory = false;
    const bool exists =
        _fileManager && _fileManager->fileExistsAtPath(kRootlessPrefix, &isDirectory);
    const bool rootlessSystem =
        NSProcessInfo::processInfo()->isOperatingSystemAtLeastVersion(kRootlessSince);
    return rootlessSystem && exists && isDirectory ? kRootlessPrefix : kRootfulPrefix;
}

std::optional<std::string>
KLUtilities::correctedFilePathFromPathWithRootPrefix(const std::optional<std::string>& path) {
    if (!path) {
        return std::nullopt;
    }
    return NSString::stringByReplacingOccurrencesOfString(*path, kPlaceholder, rootPrefix());
}
