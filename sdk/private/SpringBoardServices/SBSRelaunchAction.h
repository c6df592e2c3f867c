#pragma once

#include <optional>
#include <string>

#include <Foundation/NSURL.h>
#include <objc/Forward.h>

using SBSRelaunchActionOptions = unsigned long;
inline constexpr SBSRelaunchActionOptions SBSRelaunchActionOptionsNone = 0;
inline constexpr SBSRelaunchActionOptions SBSRelaunchActionOptionsRestartRenderServer = 1 << 0;
inline constexpr SBSRelaunchActionOptions SBSRelaunchActionOptionsSnapshotTransition = 1 << 1;
inline constexpr SBSRelaunchActionOptions SBSRelaunchActionOptionsFadeToBlackTransition = 1 << 2;

// A request that SpringBoard relaunch the user interface: why, how, and the
// address to open once it is back (none for a plain relaunch). It does
// nothing by itself; the system service carries it out.
class SBSRelaunchAction : public NSObject {
public:
    static Ref<SBSRelaunchAction> actionWithReason(const std::optional<std::string>& reason,
                                                   SBSRelaunchActionOptions options,
                                                   const Ref<NSURL>& targetURL);

    const std::optional<std::string>& reason() const { return _reason; }
    SBSRelaunchActionOptions options() const { return _options; }
    Ref<NSURL> targetURL() const { return _targetURL; }

private:
    std::optional<std::string> _reason;
    SBSRelaunchActionOptions _options = SBSRelaunchActionOptionsNone;
    Ref<NSURL> _targetURL;
};

extern "C" __attribute__((visibility("default"))) const objc_class OBJC_CLASS_$_SBSRelaunchAction;
