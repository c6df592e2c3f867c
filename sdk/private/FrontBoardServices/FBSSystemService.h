#pragma once

#include <Foundation/NSSet.h>
#include <objc/Forward.h>

// The system's service for requests from apps to the system shell. On this
// machine nothing is carried out: each relaunch request it is sent is
// recorded (SDKEventLog, kind "relaunch": "reason", "options" and "target",
// the address or nil), for the host to show its effect.
class FBSSystemService : public NSObject {
public:
    static Ref<FBSSystemService> sharedService();

    // Sends every action of the set; objects the service does not know are
    // passed over. `result` stands for the completion handler of the
    // selector, which no message sent by name here can carry: pass nil.
    void sendActions(const Ref<NSSet>& actions, const Id& result);
};

extern "C" __attribute__((visibility("default"))) const objc_class OBJC_CLASS_$_FBSSystemService;
