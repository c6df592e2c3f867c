#include <SpringBoardServices/SBSRelaunchAction.h>

#include <objc/ObjCExport.h>

namespace {

constexpr objc_method kClassMethods[] = {
    ObjCExport::classMethod<&SBSRelaunchAction::actionWithReason>(
        "actionWithReason:options:targetURL:")};

} // namespace

extern "C" __attribute__((
    visibility("default"))) constinit const objc_class OBJC_CLASS_$_SBSRelaunchAction{
    "SBSRelaunchAction", nullptr, kClassMethods, {}};

Ref<SBSRelaunchAction> SBSRelaunchAction::actionWithReason(const std::optional<std::string>& reason,
                                                           SBSRelaunchActionOptions options,
                                                           const Ref<NSURL>& targetURL) {
    auto action = alloc<SBSRelaunchAction>();
    action->_reason = reason;
    action->_options = options;
    action->_targetURL = targetURL;
    return action;
}
