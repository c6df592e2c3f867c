#include <objc/NSObject.h>
#include <objc/runtime.h>

#include <cstdlib>
#include <cstring>
#include <cxxabi.h>
#include <dlfcn.h>
#include <link.h>
#include <mutex>
#include <string>
#include <typeindex>
#include <typeinfo>
#include <unordered_map>

std::string NSObject::className() const {
    const char* mangled = typeid(*this).name();
    int status = 0;
    char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && demangled ? demangled : mangled;
    std::free(demangled);
    return name;
}

const objc_class* NSObject::objcClass() const {
    // Found by name once per class: a class's record lies in the image that
    // holds its code, so once one of its objects exists the answer stays.
    // Never destroyed: a worker may still look a class up while the process exits.
    static std::mutex& lock = *new std::mutex;
    static auto& found = *new std::unordered_map<std::type_index, Class>;
    const std::type_index type(typeid(*this));
    {
        std::lock_guard guard(lock);
        if (auto known = found.find(type); known != found.end()) {
            return known->second;
        }
    }
    Class cls = objc_getClass(className().c_str());
    std::lock_guard guard(lock);
    found.emplace(type, cls);
    return cls;
}

Ref<NSObject> Id::object() const {
    if (auto object = std::get_if<Ref<NSObject>>(&_value)) {
        return *object;
    }
    return nullptr;
}

long Id::longValue() const {
    if (auto number = std::get_if<long>(&_value)) {
        return *number;
    }
    if (auto number = std::get_if<double>(&_value)) {
        return static_cast<long>(*number);
    }
    if (auto flag = std::get_if<bool>(&_value)) {
        return *flag ? 1 : 0;
    }
    return 0;
}

double Id::doubleValue() const {
    if (auto number = std::get_if<double>(&_value)) {
        return *number;
    }
    return static_cast<double>(longValue());
}

namespace {

struct Lookup {
    std::string symbol;
    Class found = nullptr;
};

// Visits every image the process has loaded, the main program included, and
// asks each for the class symbol. Images opened with RTLD_LOCAL are found too,
// as the platform's runtime finds classes in every loaded image.
int lookInImage(dl_phdr_info* info, size_t, void* context) {
    auto* lookup = static_cast<Lookup*>(context);
    const char* path = info->dlpi_name;
    void* handle =
        (path && *path) ? dlopen(path, RTLD_LAZY | RTLD_NOLOAD) : dlopen(nullptr, RTLD_LAZY);
    if (!handle) {
        return 0;
    }
    if (void* symbol = dlsym(handle, lookup->symbol.c_str())) {
        lookup->found = static_cast<Class>(symbol);
    }
    dlclose(handle);
    return lookup->found ? 1 : 0;
}

IMP findMethod(Class cls, const char* selector, bool classSide) {
    for (; cls; cls = cls->superclass) {
        for (const objc_method& method : classSide ? cls->classMethods : cls->instanceMethods) {
            if (std::strcmp(method.name, selector) == 0) {
                return method.imp;
            }
        }
    }
    return nullptr;
}

} // namespace

Class objc_getClass(const char* name) {
    if (!name || !*name) {
        return nullptr;
    }
    Lookup lookup{std::string("OBJC_CLASS_$_") + name};
    dl_iterate_phdr(lookInImage, &lookup);
    return lookup.found;
}

Id objc_msgSend(Class receiver, const char* selector, std::span<const Id> arguments) {
    if (!receiver || !selector) {
        return nullptr;
    }
    IMP imp = findMethod(receiver, selector, true);
    return imp ? imp(nullptr, arguments) : Id();
}

Id objc_msgSend(const Id& receiver, const char* selector, std::span<const Id> arguments) {
    Ref<NSObject> object = receiver.object();
    if (!object || !selector) {
        return nullptr;
    }
    IMP imp = findMethod(object->objcClass(), selector, false);
    return imp ? imp(receiver, arguments) : Id();
}

bool class_respondsToSelector(Class cls, const char* selector) {
    return findMethod(cls, selector, false) || findMethod(cls, selector, true);
}
