#include "KLRespringButton.h"

#include <Foundation/NSProcessInfo.h>
#include <Foundation/NSSet.h>
#include <System/spawn.h>
#include <UIKit/UIAction.h>
#include <UIKit/UIImage.h>
#include <UIKit/UIMenu.h>
#include <objc/ObjCExport.h>

namespace {

constexpr const char* kKillall = "/usr/bin/killall";
constexpr const char* kRelaunchReason = "RestartRenderServer";
constexpr long kRelaunchOptions = 4;

constexpr objc_method kRespringClassMethods[] = {ObjCExport::allocMethod<KLRespringButton>()};
constexpr objc_method kRespringInstanceMethods[] = {
    ObjCExport::method<&KLRespringButton::init>("init"),
    ObjCExport::method<&KLRespringButton::respring>("respring"),
    ObjCExport::method<&KLRespringButton::inApp>("inApp"),
    ObjCExport::method<&KLRespringButton::setInApp>("setInApp:"),
};

} // namespace

extern "C"
    __attribute__((visibility("default"))) constinit const objc_class OBJC_CLASS_$_KLRespringButton{
        "KLRespringButton", nullptr, kRespringClassMethods, kRespringInstanceMethods};

Ref<KLRespringButton> KLRespringButton::init() {
    Ref<NSObject> base = UIBarButtonItem::init();
    if (base.get() != this) {
        return objc_cast<KLRespringButton>(base);
    }
    const bool hasGearSymbol =
        NSProcessInfo::processInfo()->isOperatingSystemAtLeastVersion({15, 0, 0});
    Ref<UIImage> image =
        UIImage::systemImageNamed(hasGearSymbol ? "gear.badge.checkmark" : "checkmark.circle");

    // The button owns its menu, so the item refers back to it weakly.
    Weak<KLRespringButton> weakButton = self<KLRespringButton>();
    Ref<UIAction> item = UIAction::actionWithTitle("Respring", nullptr, std::nullopt,
                                                   [weakButton](const Ref<UIAction>&) {
                                                       if (auto button = weakButton.lock()) {
                                                           button->respring();
                                                       }
                                                   });
    Ref<UIMenu> menu = UIMenu::menuWithTitle("", nullptr, std::nullopt, 0, {item});

    setStyle(UIBarButtonItemStylePlain);
    setImage(image);
    setMenu(menu);
    return self<KLRespringButton>();
}

void KLRespringButton::respring() {
    if (_inApp) {
        const char* const arguments[] = {"killall", "-9", "backboardd", nullptr};
        pid_t pid = 0;
        System::posix_spawn(&pid, kKillall, nullptr, nullptr, arguments, nullptr);
        return;
    }
    const Id relaunchArguments[] = {kRelaunchReason, kRelaunchOptions, Id()};
    const Id action = objc_msgSend(objc_getClass("SBSRelaunchAction"),
                                   "actionWithReason:options:targetURL:", relaunchArguments);
    // Without SpringBoardServices there is no action, and a set cannot hold nil.
    if (!action) {
        return;
    }
    const Id service = objc_msgSend(objc_getClass("FBSSystemService"), "sharedService");
    const Id sendArguments[] = {NSSet::setWithObject(action.object()), Id()};
    objc_msgSend(service, "sendActions:withResult:", sendArguments);
}
