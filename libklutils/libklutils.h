#pragma once

#include <optional>
#include <string>

#include <Foundation/Forward.h>
#include <objc/NSObject.h>
#include <objc/Ref.h>

// Knows where the jailbreak's files live on this device ("/var/jb/" on a
// rootless layout, "/" otherwise), rewrites ":root:" paths for it, and tells
// whether the companion tweaks Pennant and Lumbra are installed and enabled.
// Exported by name, so code that does not link this library finds it with
// objc_getClass("KLUtilities") once the library is loaded.
class KLUtilities : public NSObject {
public:
    // The one instance, made on first use from whichever thread asks first.
    static Ref<KLUtilities> sharedInstance();

    // Installed (the library exists) and not switched off in its preferences.
    bool isPennantInstalled();
    bool isLumbraInstalled();
    // "/var/jb/" on iOS 15 or later when that folder exists, "/" otherwise;
    // asked of the file system on every call.
    std::string rootPrefix();
    // Every ":root:" replaced by the root prefix, nothing else changed; nil
    // for nil.
    std::optional<std::string>
    correctedFilePathFromPathWithRootPrefix(const std::optional<std::string>& path);

    double LumbraHeight() const { return _LumbraHeight; }
    void setLumbraHeight(double height) { _LumbraHeight = height; }
    const Ref<NSFileManager>& fileManager() const { return _fileManager; }
    void setFileManager(Ref<NSFileManager> fileManager) { _fileManager = std::move(fileManager); }

private:
    bool isCompanionInstalled(const std::string& preferencePath, const std::string& libraryPath);

    double _LumbraHeight = 0.0;
    Ref<NSFileManager> _fileManager;
};
