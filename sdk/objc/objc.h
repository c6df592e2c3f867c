#pragma once

#include <objc/NSObject.h>
#include <objc/Ref.h>
#include <objc/runtime.h>
