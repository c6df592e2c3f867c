#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "CheckFindings.h"

// Prints a check's findings as text for a person, as JSON, or as SARIF
// 2.1.0 for code-review tools, and answers the exit status.
class CheckReport {
public:
    enum class Format { Text, JSON, SARIF };

    static std::optional<Format> formatNamed(const std::string& name);
    static std::optional<CheckLevel> levelNamed(const std::string& name);
    static std::string levelName(CheckLevel level);

    // `variants`: every variant checked, so that a finding in all of them,
    // or in all of one kind, says so briefly.
    CheckReport(const CheckFindings& findings, std::vector<std::string> variants);

    void write(Format format, std::ostream& out) const;
    // 1 when a finding is at `level` or above, 0 otherwise.
    int exitStatus(CheckLevel level) const;

    // "every variant", "dark, ax3", or the variants' names.
    std::string describeVariants(const std::vector<std::string>& found) const;

private:
    void writeText(std::ostream& out) const;
    void writeJSON(std::ostream& out) const;
    void writeSARIF(std::ostream& out) const;

    const CheckFindings& _findings;
    std::vector<std::string> _variants;
};
