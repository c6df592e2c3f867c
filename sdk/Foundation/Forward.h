#pragma once

#include <objc/Ref.h>

// Foundation's classes by name, for headers that only refer to them (through
// Ref<>, pointers, references and declarations); a unit that uses one
// includes its own header.
class BinaryPropertyListObjects;
class CFNotificationCenter;
class DeviceRoot;
class DispatchQueue;
class NSArray;
class NSBundle;
class NSDataLoader;
class NSError;
class NSException;
class NSFileManager;
class NSLocale;
class NSMutableDictionary;
struct NSOperatingSystemVersion;
class NSProcessInfo;
class NSPropertyListSerialization;
class NSRunLoop;
class NSScanner;
class NSSet;
class NSString;
class NSTimer;
class NSURL;
class NumberReader;
class OldStylePropertyList;
class PropertyListDepth;
class PropertyListIntegers;
class SDKEventLog;
class SDKNetworkSettings;
class Unicode;
class Value;
class DispatchMainQueue;
namespace SDKEvents {
struct Screen;
struct Present;
struct Transition;
struct Animation;
struct Notification;
struct StoreFailed;
struct Error;
struct OpenURL;
struct Spawn;
struct Relaunch;
struct MailComposeResult;
} // namespace SDKEvents
