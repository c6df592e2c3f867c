#include "CheckFindings.h"

#include <algorithm>

void CheckFindings::add(CheckFinding finding, const std::vector<std::string>& variants) {
    const Identity identity{finding.rule, finding.file,
                            finding.item ? static_cast<long>(*finding.item) : -1,
                            finding.key.value_or(""), finding.subject};
    auto [entry, inserted] = _byIdentity.try_emplace(identity, _findings.size());
    if (inserted) {
        finding.variants.clear();
        _findings.push_back(std::move(finding));
    }
    std::vector<std::string>& found = _findings[entry->second].variants;
    for (const std::string& variant : variants) {
        if (std::find(found.begin(), found.end(), variant) == found.end()) {
            found.push_back(variant);
        }
    }
}

bool CheckFindings::hasLevel(CheckLevel atLeast) const {
    return std::any_of(_findings.begin(), _findings.end(),
                       [&](const CheckFinding& finding) { return finding.level >= atLeast; });
}
