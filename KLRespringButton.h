#pragma once

#include <UIKit/UIBarButtonItem.h>
#include <objc/Forward.h>

// A navigation-bar button that restarts the device's user interface (a
// respring) so that changed settings take effect. A tap opens a one-item
// menu; choosing "Respring" restarts at once: by the system's relaunch
// request, or with `inApp` by killing backboardd.
class KLRespringButton : public UIBarButtonItem {
public:
    Ref<KLRespringButton> init();

    // Restarts the user interface; what the menu item does.
    void respring();

    bool inApp() const { return _inApp; }
    void setInApp(bool inApp) { _inApp = inApp; }

private:
    bool _inApp = false;
};

extern "C" __attribute__((visibility("default"))) const objc_class OBJC_CLASS_$_KLRespringButton;
