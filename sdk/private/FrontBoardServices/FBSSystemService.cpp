#include <FrontBoardServices/FBSSystemService.h>

#include <Foundation/SDKEventLog.h>
#include <SpringBoardServices/SBSRelaunchAction.h>
#include <objc/ObjCExport.h>

namespace {

constexpr objc_method kClassMethods[] = {
    ObjCExport::classMethod<&FBSSystemService::sharedService>("sharedService")};
constexpr objc_method kInstanceMethods[] = {
    ObjCExport::method<&FBSSystemService::sendActions>("sendActions:withResult:")};

void record(const SBSRelaunchAction& action) {
    Ref<NSURL> target = action.targetURL();
    SDKEventLog::record(SDKEvents::Relaunch{
        action.reason(), static_cast<long>(action.options()),
        target ? std::optional<std::string>(target->absoluteString()) : std::nullopt});
}

} // namespace

extern "C"
    __attribute__((visibility("default"))) constinit const objc_class OBJC_CLASS_$_FBSSystemService{
        "FBSSystemService", nullptr, kClassMethods, kInstanceMethods};

Ref<FBSSystemService> FBSSystemService::sharedService() {
    static const Ref<FBSSystemService> shared = alloc<FBSSystemService>();
    return shared;
}

void FBSSystemService::sendActions(const Ref<NSSet>& actions, const Id&) {
    if (!actions) {
        return;
    }
    const Ref<NSArray> members = actions->allObjects();
    for (const Ref<NSObject>& member : members->objects()) {
        if (auto relaunch = objc_cast<SBSRelaunchAction>(member)) {
            record(*relaunch);
        }
    }
}
