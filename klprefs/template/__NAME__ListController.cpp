// @NAME@'s list controller: the preference bundle's executable exports it by
// name (NSPrincipalClass in Info.plist). It loads Root.plist and adds the
// header banner and the respring button, which are made in code.
#include <string>
#include <vector>

#include <Preferences/PSListController.h>
#include <UIKit/UIKit.h>
#include <objc/ObjCExport.h>

#include <KLHeaderView.h>
#include <KLRespringButton.h>

class @NAME@ListController : public PSListController {
public:
    Ref<@NAME@ListController> init() {
        PSListController::init();
        return self<@NAME@ListController>();
    }

    const std::vector<Ref<PSSpecifier>>& specifiers() override {
        if (!_loaded) {
            _loaded = true;
            setSpecifiers(loadSpecifiersFromPlistName("Root", self<PSListController>()));
        }
        return PSListController::specifiers();
    }

    void viewDidLoad() override {
        PSListController::viewDidLoad();
        // Handle, developer, tweak, version, support address, Discord, donations:
        // an empty text leaves its part out.
        _header = alloc<KLHeaderView>()->initWithFrame(
            CGRectMake(0, 0, view()->bounds().size.width, 160), std::string("yourhandle"),
            std::string("Your Name"), std::string("@NAME@"), std::string("1.0"),
            std::string("support@example.com"), std::string(""), std::string(""));
        table()->setTableHeaderView(_header);
        navigationItem()->setRightBarButtonItem(alloc<KLRespringButton>()->init());
    }

    const objc_class* objcClass() const override;

private:
    bool _loaded = false;
    Ref<KLHeaderView> _header;
};

namespace {

constexpr objc_method kClassMethods[] = {ObjCExport::allocMethod<@NAME@ListController>()};
constexpr objc_method kInstanceMethods[] = {ObjCExport::method<&@NAME@ListController::init>("init")};

} // namespace

extern "C" __attribute__((visibility("default"))) constinit const objc_class
    OBJC_CLASS_$_@NAME@ListController{"@NAME@ListController", nullptr, kClassMethods,
                                      kInstanceMethods};

const objc_class* @NAME@ListController::objcClass() const {
    return &OBJC_CLASS_$_@NAME@ListController;
}
