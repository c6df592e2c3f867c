#include "CheckReport.h"

#include <algorithm>
#include <set>

#include <nlohmann/json.hpp>

namespace {

// The rules in order, with what each finds, for SARIF's rule list.
const std::vector<std::pair<const char*, const char*>>& rules() {
    static const std::vector<std::pair<const char*, const char*>> all = {
        {"missing-localization", "A text shows as its localisation key"},
        {"low-contrast", "A text has too little contrast with what is drawn behind it"},
        {"truncated-text", "A text is cut short or clipped"},
        {"overlap", "A view is drawn outside its row"},
        {"constraint-conflict", "The layout's constraints conflict"},
        {"missing-image", "A picture cannot be found or decoded"},
        {"root-path", "A picture path resolves in one of the rootful and rootless layouts only"},
        {"no-storage", "A row stores its value nowhere"},
        {"type-conflict", "One key is stored with two types"},
        {"default-type", "A default is of another type than the row stores"},
        {"bad-domain", "A defaults name is no usable domain"},
        {"missing-pane", "A link's pane or class does not exist"},
        {"missing-class", "No loaded library provides a cell class"},
        {"missing-selector", "The controller does not answer a selector"},
        {"slow-page", "A page is slow to build or draw"},
    };
    return all;
}

std::vector<std::string> split(const std::string& name) {
    std::vector<std::string> parts(1);
    for (char c : name) {
        if (c == '/') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

// Bytes that are not UTF-8 (a bundle's texts may hold any) become U+FFFD.
std::string dump(const nlohmann::json& value) {
    return value.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string where(const CheckFinding& finding) {
    std::string text;
    if (finding.item) {
        text += "item " + std::to_string(*finding.item);
    }
    if (finding.key) {
        text += (text.empty() ? "" : ", ") + std::string("key \"") + *finding.key + "\"";
    }
    return text;
}

} // namespace

std::optional<CheckReport::Format> CheckReport::formatNamed(const std::string& name) {
    if (name == "text") {
        return Format::Text;
    }
    if (name == "json") {
        return Format::JSON;
    }
    if (name == "sarif") {
        return Format::SARIF;
    }
    return std::nullopt;
}

std::optional<CheckLevel> CheckReport::levelNamed(const std::string& name) {
    if (name == "error") {
        return CheckLevel::Error;
    }
    if (name == "warning") {
        return CheckLevel::Warning;
    }
    if (name == "info") {
        return CheckLevel::Info;
    }
    return std::nullopt;
}

std::string CheckReport::levelName(CheckLevel level) {
    switch (level) {
    case CheckLevel::Error:
        return "error";
    case CheckLevel::Warning:
        return "warning";
    case CheckLevel::Info:
        break;
    }
    return "info";
}

CheckReport::CheckReport(const CheckFindings& findings, std::vector<std::string> variants)
    : _findings(findings), _variants(std::move(variants)) {}

int CheckReport::exitStatus(CheckLevel level) const {
    return _findings.hasLevel(level) ? 1 : 0;
}

std::string CheckReport::describeVariants(const std::vector<std::string>& found) const {
    if (found.size() == _variants.size()) {
        return "every variant";
    }
    // When the variants found are every combination of some values of
    // each kind, name only the kinds that are not whole.
    std::vector<std::set<std::string>> all, seen;
    for (const std::string& name : _variants) {
        const std::vector<std::string> parts = split(name);
        all.resize(parts.size());
        for (size_t i = 0; i < parts.size(); ++i) {
            all[i].insert(parts[i]);
        }
    }
    seen.resize(all.size());
    for (const std::string& name : found) {
        const std::vector<std::string> parts = split(name);
        for (size_t i = 0; i < parts.size() && i < seen.size(); ++i) {
            seen[i].insert(parts[i]);
        }
    }
    size_t combinations = 1;
    for (const std::set<std::string>& values : seen) {
        combinations *= values.size();
    }
    std::string text;
    auto append = [&](const std::string& part) { text += (text.empty() ? "" : ", ") + part; };
    if (combinations == found.size()) {
        for (size_t i = 0; i < seen.size(); ++i) {
            if (seen[i] != all[i]) {
                std::string values;
                for (const std::string& value : seen[i]) {
                    values += (values.empty() ? "" : " or ") + value;
                }
                append(values);
            }
        }
        return text;
    }
    for (const std::string& name : found) {
        append(name);
    }
    return text;
}

void CheckReport::write(Format format, std::ostream& out) const {
    switch (format) {
    case Format::Text:
        writeText(out);
        break;
    case Format::JSON:
        writeJSON(out);
        break;
    case Format::SARIF:
        writeSARIF(out);
        break;
    }
}

void CheckReport::writeText(std::ostream& out) const {
    size_t counts[3] = {0, 0, 0};
    for (const CheckFinding& finding : _findings.all()) {
        ++counts[static_cast<int>(finding.level)];
        std::string place = finding.file.empty() ? "page" : finding.file;
        if (finding.line) {
            place += ":" + std::to_string(*finding.line);
        }
        out << place << ": " << levelName(finding.level) << ": " << finding.message << " ["
            << finding.rule << "]\n";
        const std::string at = where(finding);
        out << "    " << (at.empty() ? "" : at + "; ") << "in "
            << describeVariants(finding.variants) << "\n";
    }
    out << counts[2] << (counts[2] == 1 ? " error, " : " errors, ") << counts[1]
        << (counts[1] == 1 ? " warning, " : " warnings, ") << counts[0]
        << (counts[0] == 1 ? " info" : " infos") << " in " << _variants.size()
        << (_variants.size() == 1 ? " variant\n" : " variants\n");
}

void CheckReport::writeJSON(std::ostream& out) const {
    nlohmann::json findings = nlohmann::json::array();
    for (const CheckFinding& finding : _findings.all()) {
        nlohmann::json entry = nlohmann::json::object();
        entry["rule"] = finding.rule;
        entry["level"] = levelName(finding.level);
        entry["file"] = finding.file.empty() ? nlohmann::json() : nlohmann::json(finding.file);
        entry["item"] = finding.item ? nlohmann::json(*finding.item) : nlohmann::json();
        entry["key"] = finding.key ? nlohmann::json(*finding.key) : nlohmann::json();
        entry["line"] = finding.line ? nlohmann::json(*finding.line) : nlohmann::json();
        entry["variants"] = finding.variants;
        entry["message"] = nlohmann::json(finding.message);
        findings.push_back(std::move(entry));
    }
    nlohmann::json report = nlohmann::json::object();
    report["findings"] = std::move(findings);
    report["variants"] = _variants;
    out << dump(report) << "\n";
}

void CheckReport::writeSARIF(std::ostream& out) const {
    nlohmann::json ruleList = nlohmann::json::array();
    for (const auto& [id, description] : rules()) {
        ruleList.push_back({{"id", id}, {"shortDescription", {{"text", description}}}});
    }
    nlohmann::json results = nlohmann::json::array();
    for (const CheckFinding& finding : _findings.all()) {
        const auto rule = std::find_if(rules().begin(), rules().end(), [&](const auto& entry) {
            return finding.rule == entry.first;
        });
        nlohmann::json result = {
            {"ruleId", finding.rule},
            {"ruleIndex", rule - rules().begin()},
            {"level", levelName(finding.level) == "info" ? "note" : levelName(finding.level)},
            {"message",
             {{"text", nlohmann::json(finding.message + " (in " +
                                      describeVariants(finding.variants) + ")")}}},
            {"properties",
             {{"variants", finding.variants},
              {"item", finding.item ? nlohmann::json(*finding.item) : nlohmann::json()},
              {"key", finding.key ? nlohmann::json(*finding.key) : nlohmann::json()}}},
        };
        if (!finding.file.empty()) {
            nlohmann::json location = {
                {"artifactLocation",
                 {{"uri", nlohmann::json(finding.file)}, {"uriBaseId", "BUNDLE"}}}};
            if (finding.line) {
                location["region"] = {{"startLine", *finding.line}};
            }
            result["locations"] = nlohmann::json::array({{{"physicalLocation", location}}});
        }
        results.push_back(std::move(result));
    }
    nlohmann::json sarif = {
        {"$schema", "https://json.schemastore.org/sarif-2.1.0.json"},
        {"version", "2.1.0"},
        {"runs", nlohmann::json::array(
                     {{{"tool", {{"driver", {{"name", "klprefs check"}, {"rules", ruleList}}}}},
                       {"results", results}}})},
    };
    out << dump(sarif) << "\n";
}
