#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <objc/NSObject.h>

// Reads numbers from a text one after another, as Foundation's NSScanner does
// with its default settings: white space and newlines before each number are
// skipped, and a scan that finds no number leaves the location where it was.
class NSScanner : public NSObject {
public:
    static Ref<NSScanner> scannerWithString(std::string string);
    Ref<NSScanner> initWithString(std::string string);

    const std::string& string() const { return _string; }
    // In UTF-16 units from the start of the text.
    size_t scanLocation() const;
    // Whether only skipped characters (white space and newlines) remain.
    bool isAtEnd() const;

    // An optional "0x" or "0X", then hexadecimal digits up to the first other
    // character. Overflow gives UINT32_MAX and still consumes every digit.
    // "0x" not followed by a digit scans as the number 0, stopping before "x".
    bool scanHexInt(uint32_t* result);
    // Same reading as NSString's doubleValue.
    bool scanDouble(double* result);
    // An optional sign and decimal digits, saturating at INT32_MIN and INT32_MAX.
    bool scanInt(int32_t* result);

private:
    std::string _string;
    // A byte offset into _string, always at a character boundary.
    size_t _location = 0;
};
