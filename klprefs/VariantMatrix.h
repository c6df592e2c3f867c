#pragma once

#include <string>
#include <vector>

#include "DeviceLook.h"

// One combination of the variant options: the device's look in it, the
// scale its pictures are drawn at, and its name in file names and labels
// ("dark-iphone-15-ax3-ar", the given options' values in that order; empty
// when no variant option was given).
struct Variant {
    std::string name;
    DeviceLook look;
    double scale = 3;
};

// The variant options (--variants, --devices, --content-sizes, --languages),
// each a list of names, and every combination of them.
class VariantMatrix {
public:
    std::vector<std::string> appearances;
    std::vector<std::string> devices;
    std::vector<std::string> contentSizes;
    std::vector<std::string> languages;

    bool empty() const;
    // Every combination, devices and text sizes outermost, then appearances
    // and languages: the rows and columns of a sheet. An option not given
    // keeps the base look's value and adds nothing to the name. A device
    // draws at its own scale unless one was given.
    std::vector<Variant> variants(const DeviceLook& base, double scale, bool scaleGiven) const;
    // How many variants one row of a sheet holds.
    size_t columns() const;
};
