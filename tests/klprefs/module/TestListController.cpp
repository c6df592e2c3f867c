// A preference bundle's executable, as a tweak builds it: it exports its list
// controller class by name, and the controller adds a row in code to those
// of its Root.plist.
#include <vector>

#include <Preferences/PSListController.h>
#include <Preferences/PSSpecifier.h>
#include <objc/ObjCExport.h>

class TestListController : public PSListController {
public:
    const std::vector<Ref<PSSpecifier>>& specifiers() override {
        if (!_loaded) {
            _loaded = true;
            _rows = loadSpecifiersFromPlistName("Root", self<PSListController>());
            Ref<PSSpecifier> made = alloc<PSSpecifier>()->initWithProperties(
                {{"cell", "PSTableCell"}, {"label", "Made in code"}});
            made->setName(std::string("Made in code"));
            made->setTarget(self<PSListController>());
            _rows.push_back(made);
        }
        return _rows;
    }

private:
    bool _loaded = false;
    std::vector<Ref<PSSpecifier>> _rows;
};

namespace {

constexpr objc_method kClassMethods[] = {ObjCExport::allocMethod<TestListController>()};
constexpr objc_method kInstanceMethods[] = {ObjCExport::method<&PSListController::init>("init")};

} // namespace

extern "C" __attribute__((
    visibility("default"))) constinit const objc_class OBJC_CLASS_$_TestListController{
    "TestListController", nullptr, kClassMethods, kInstanceMethods};
