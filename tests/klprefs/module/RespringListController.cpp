// A preference bundle's executable whose list controller puts a respring
// button in its navigation bar, as a tweak's controller does.
// InAppRespringListController asks for the in-app way of restarting.
#include <Preferences/PSListController.h>
#include <UIKit/UINavigationItem.h>
#include <objc/ObjCExport.h>

#include "KLRespringButton.h"

class RespringListController : public PSListController {
public:
    Ref<RespringListController> init() {
        PSListController::init();
        Ref<KLRespringButton> button = alloc<KLRespringButton>()->init();
        button->setInApp(inApp());
        navigationItem()->setRightBarButtonItem(button);
        return self<RespringListController>();
    }

protected:
    virtual bool inApp() const { return false; }
};

class InAppRespringListController : public RespringListController {
protected:
    bool inApp() const override { return true; }
};

namespace {

constexpr objc_method kClassMethods[] = {ObjCExport::allocMethod<RespringListController>()};
constexpr objc_method kInApp[] = {ObjCExport::allocMethod<InAppRespringListController>()};
constexpr objc_method kInstanceMethods[] = {
    ObjCExport::method<&RespringListController::init>("init")};

} // namespace

extern "C" __attribute__((
    visibility("default"))) constinit const objc_class OBJC_CLASS_$_RespringListController{
    "RespringListController", nullptr, kClassMethods, kInstanceMethods};
extern "C" __attribute__((
    visibility("default"))) constinit const objc_class OBJC_CLASS_$_InAppRespringListController{
    "InAppRespringListController", &OBJC_CLASS_$_RespringListController, kInApp, {}};
