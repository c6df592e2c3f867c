// A preference bundle's executable, as a tweak builds it: it exports its list
// controller class by name, and the controller adds a row in code to those
// of its Root.plist.
#include <span>
#include <vector>

#include <Preferences/PSListController.h>
#include <objc/runtime.h>

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
    const objc_class* objcClass() const override;

private:
    bool _loaded = false;
    std::vector<Ref<PSSpecifier>> _rows;
};

namespace {

Id allocate(const Id&, std::span<const Id>) {
    return alloc<TestListController>();
}

Id initialize(const Id& receiver, std::span<const Id>) {
    Ref<TestListController> controller = receiver.object<TestListController>();
    return controller ? Id(controller->init()) : Id();
}

constexpr objc_method kClassMethods[] = {{"alloc", &allocate}};
constexpr objc_method kInstanceMethods[] = {{"init", &initialize}};

} // namespace

extern "C" __attribute__((
    visibility("default"))) constinit const objc_class OBJC_CLASS_$_TestListController{
    "TestListController", nullptr, kClassMethods, kInstanceMethods};

const objc_class* TestListController::objcClass() const {
    return &OBJC_CLASS_$_TestListController;
}
