#pragma once

#include <objc/Ref.h>

// The runtime's classes by name, for headers that only refer to them (through
// Ref<>, pointers, references and declarations); a unit that uses one
// includes its own header.
class NSObject;
class Id;
struct objc_method;
struct objc_class;
