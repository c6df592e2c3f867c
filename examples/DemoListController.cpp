// The example bundle's executable, as a tweak builds its own: it exports the
// bundle's principal class by name, a list controller that loads Root.plist
// and puts the header banner at the top of its table.
#include <optional>
#include <string>
#include <vector>

#include <Preferences/PSListController.h>
#include <Preferences/PSSpecifier.h>
#include <UIKit/UINavigationItem.h>
#include <UIKit/UITableView.h>
#include <objc/ObjCExport.h>

#include "KLHeaderView.h"
#include "KLRespringButton.h"

namespace {

constexpr CGFloat kHeaderHeight = 160;

} // namespace

class DemoListController : public PSListController {
public:
    Ref<DemoListController> init() {
        PSListController::init();
        return self<DemoListController>();
    }

    const std::vector<Ref<PSSpecifier>>& specifiers() override {
        if (!_loaded) {
            _loaded = true;
            // The root page, or the pane a link opened with this class.
            setSpecifiers(loadSpecifiersFromPlistName(paneName(), self<PSListController>()));
        }
        return PSListController::specifiers();
    }

    void viewDidLoad() override {
        PSListController::viewDidLoad();
        // Only the root page has the banner and the respring button.
        if (specifier()) {
            return;
        }
        const CGFloat width = view()->bounds().size.width;
        _header = alloc<KLHeaderView>()->initWithFrame(
            CGRectMake(0, 0, width, kHeaderHeight), std::string("example"),
            std::string("Example Dev"), std::string("Demo"), std::string("1.2"),
            std::string("support@example.com"), std::string("https://discord.gg/example"),
            std::string("https://example.com/donate"));
        table()->setTableHeaderView(_header);
        // The respring button in the navigation bar, so changed settings can take effect.
        navigationItem()->setRightBarButtonItem(alloc<KLRespringButton>()->init());
    }

    // The reset button's action: every row of the page is stored nothing,
    // so each shows its "default" again.
    void resetSettings() {
        for (const Ref<PSSpecifier>& row : specifiers()) {
            if (!row->propertyForKey("key").isNil() && !row->propertyForKey("defaults").isNil()) {
                setPreferenceValue(Value(), row);
            }
        }
        reloadSpecifiers();
    }

    const objc_class* objcClass() const override;

private:
    bool _loaded = false;
    Ref<KLHeaderView> _header;
};

namespace {

constexpr objc_method kClassMethods[] = {ObjCExport::allocMethod<DemoListController>()};
constexpr objc_method kInstanceMethods[] = {
    ObjCExport::method<&DemoListController::init>("init"),
    ObjCExport::method<&DemoListController::resetSettings>("resetSettings")};

} // namespace

extern "C" __attribute__((
    visibility("default"))) constinit const objc_class OBJC_CLASS_$_DemoListController{
    "DemoListController", nullptr, kClassMethods, kInstanceMethods};

const objc_class* DemoListController::objcClass() const {
    return &OBJC_CLASS_$_DemoListController;
}
