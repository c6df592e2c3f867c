#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include <Foundation/Forward.h>

#include "CheckFindings.h"
#include "PaneFile.h"

// Finds the texts a page shows as their own localisation keys: a key the
// string table in use lacks while another of the bundle's tables has it (or
// that is plainly a key, such as ENABLED_LABEL), a table that cannot be read
// (a missing semicolon), a table the bundle does not ship at all, a choice
// shown as its stored value for want of a title. The table in use is the
// one the device picks for the preferred languages set now.
class LocalizationRule {
public:
    LocalizationRule(Ref<NSBundle> bundle, CheckFindings& findings);

    // The pane's texts in the languages set now; findings carry `variants`.
    void check(const PaneFile& pane, const std::vector<std::string>& variants);

    // Whether a text reads as a key rather than as words: no blanks, only
    // letters, digits and _ . -, with an _ or . or in capitals throughout.
    static bool looksLikeKey(const std::string& text);

private:
    struct Table {
        // Relative to the bundle: "de.lproj/Root.strings".
        std::string file;
        std::optional<Value::Dictionary> entries;
        // Why it cannot be read, when it cannot.
        std::string error;
    };
    const std::vector<Table>& copies(const std::string& table);
    std::optional<Table> tableInUse(const std::string& table);
    Table read(const std::string& folder, const std::string& table) const;
    void checkText(const PaneFile& pane, std::optional<size_t> item, const std::string& key,
                   const std::string& text, const std::vector<std::string>& variants);
    // The choices of the item shown as their stored values, for want of a
    // title in "validTitles".
    void checkUntitledValues(const PaneFile& pane, size_t item, const Value::Dictionary& properties,
                             const std::vector<std::string>& variants);

    Ref<NSBundle> _bundle;
    CheckFindings& _findings;
    std::map<std::string, std::vector<Table>> _copies;
};
