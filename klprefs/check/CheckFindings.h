#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "CheckFinding.h"

// The findings of a check, each once: a finding found again in another
// variant adds that variant to the first one's list.
class CheckFindings {
public:
    // Adds the finding, found in `variants`.
    void add(CheckFinding finding, const std::vector<std::string>& variants);
    // In the order first found.
    const std::vector<CheckFinding>& all() const { return _findings; }
    bool hasLevel(CheckLevel atLeast) const;

private:
    using Identity = std::tuple<std::string, std::string, long, std::string, std::string>;
    std::vector<CheckFinding> _findings;
    std::map<Identity, size_t> _byIdentity;
};
