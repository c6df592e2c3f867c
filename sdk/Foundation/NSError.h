#pragma once

#include <string>

#include <objc/NSObject.h>

// Why an operation failed: a domain, a code within it and a description.
class NSError : public NSObject {
public:
    static Ref<NSError> errorWithDomain(const std::string& domain, long code,
                                        const std::string& localizedDescription) {
        Ref<NSError> error = alloc<NSError>();
        error->_domain = domain;
        error->_code = code;
        error->_localizedDescription = localizedDescription;
        return error;
    }

    const std::string& domain() const { return _domain; }
    long code() const { return _code; }
    const std::string& localizedDescription() const { return _localizedDescription; }

private:
    std::string _domain;
    long _code = 0;
    std::string _localizedDescription;
};
