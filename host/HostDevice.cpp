#include "HostDevice.h"

#include <algorithm>
#include <dlfcn.h>
#include <filesystem>
#include <link.h>

#include <Foundation/DeviceRoot.h>
#include <Foundation/NSLocale.h>
#include <Foundation/SDKNetworkSettings.h>
#include <Foundation/dispatch.h>
#include <MessageUI/SDKMailAccount.h>
#include <UIKit/UIApplication.h>
#include <UIKit/UIScreen.h>

#include "HostError.h"

namespace {

int addImage(dl_phdr_info* info, size_t, void* context) {
    auto* names = static_cast<std::vector<std::string>*>(context);
    if (info->dlpi_name && *info->dlpi_name) {
        names->push_back(std::filesystem::path(info->dlpi_name).filename().string());
    }
    return 0;
}

} // namespace

std::vector<std::string> HostDevice::loadLibraries(const std::vector<Library>& libraries) {
    std::vector<std::string> failures;
    for (const Library& library : libraries) {
        if (!dlopen(library.path.c_str(), RTLD_NOW | RTLD_GLOBAL)) {
            failures.push_back("could not load " + library.name + ", so " + library.without + ": " +
                               dlerror());
        }
    }
    return failures;
}

std::vector<std::string> HostDevice::configure(const Settings& settings) {
    std::error_code error;
    if (!std::filesystem::is_directory(settings.deviceRoot, error)) {
        throw HostError(HostError::Kind::Load,
                        "the device root " + settings.deviceRoot + " is not a folder");
    }
    DispatchMainQueue::markMainThread();
    DeviceRoot::setPath(settings.deviceRoot);
    NSProcessInfo::setOperatingSystemVersion(settings.iosVersion);
    NSLocale::setPreferredLanguages(settings.look.languages);
    const Ref<UIScreen> standard = UIScreen::standardScreen();
    CGRect bounds = standard->bounds();
    CGFloat scale = standard->scale();
    UIEdgeInsets safeArea{};
    using T = UITraitCollection;
    std::vector<Ref<UITraitCollection>> traits = {
        T::traitCollectionWithUserInterfaceStyle(settings.look.appearance),
        T::traitCollectionWithPreferredContentSizeCategory(settings.look.contentSize),
        // The first language sets the direction of the whole user interface.
        T::traitCollectionWithLayoutDirection(
            UIApplication::sharedApplication()->userInterfaceLayoutDirection() ==
                    UIUserInterfaceLayoutDirectionRightToLeft
                ? UITraitEnvironmentLayoutDirectionRightToLeft
                : UITraitEnvironmentLayoutDirectionLeftToRight)};
    if (const std::optional<DevicePreset>& device = settings.look.device) {
        bounds.size = device->screenSize(settings.look.landscape);
        scale = device->scale;
        safeArea = device->safeAreaInsets(settings.look.landscape);
        traits.push_back(T::traitCollectionWithUserInterfaceIdiom(device->idiom));
        traits.push_back(T::traitCollectionWithHorizontalSizeClass(
            device->horizontalSizeClass(settings.look.landscape)));
        traits.push_back(T::traitCollectionWithVerticalSizeClass(
            device->verticalSizeClass(settings.look.landscape)));
    }
    if (settings.screenWidth) {
        bounds.size.width = *settings.screenWidth;
    }
    UIScreen::setMainScreen(alloc<UIScreen>()->initWithBounds(
        bounds, scale, T::traitCollectionWithTraitsFromCollections(traits), safeArea));
    if (const std::optional<Network>& network = settings.network) {
        if (!SDKNetworkSettings::setConnectTo(network->connectTo)) {
            throw HostError(HostError::Kind::Load, "a network route is not HOST:PORT:ADDRESS:PORT");
        }
        SDKNetworkSettings::setCertificateAuthorityFile(network->certificateAuthorityFile);
    }
    if (const std::optional<MailAccount>& mail = settings.mailAccount) {
        SDKMailAccount::setConfigured(mail->configured);
        SDKMailAccount::setSendingFails(mail->sendingFails);
    }
    return loadLibraries(settings.libraries);
}

std::vector<std::string> HostDevice::loadedLibraries() {
    std::vector<std::string> names;
    dl_iterate_phdr(addImage, &names);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

bool HostDevice::isLibraryLoaded(const std::string& fileName) {
    const std::vector<std::string> names = loadedLibraries();
    return std::binary_search(names.begin(), names.end(), fileName);
}

bool HostDevice::restartsUserInterface(const SDKEvent& request) {
    if (std::holds_alternative<SDKEvents::Relaunch>(request)) {
        return true;
    }
    const auto* spawn = std::get_if<SDKEvents::Spawn>(&request);
    // A spawn that found no program has no process identifier.
    if (!spawn || !spawn->pid || !spawn->arguments ||
        std::filesystem::path(spawn->path).filename() != "killall") {
        return false;
    }
    const std::vector<std::string>& arguments = *spawn->arguments;
    return std::any_of(arguments.begin() + std::min<size_t>(1, arguments.size()), arguments.end(),
                       [](const std::string& argument) {
                           return argument == "backboardd" || argument == "SpringBoard";
                       });
}
