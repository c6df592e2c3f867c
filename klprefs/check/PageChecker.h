#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <objc/runtime.h>

#include "CheckFindings.h"
#include "CheckVariant.h"
#include "DrawnPageRules.h"
#include "PageHost.h"
#include "PaneFile.h"

// Checks a bundle's page, and every page its links open, in each variant:
// the items once, the texts in each language, the drawn page in each
// variant. Each finding is reported once, with the variants it shows in.
class PageChecker {
public:
    // `variantList` as --variants takes it; nil for the defaults. Throws a
    // usage HostError for a list it cannot read, a load HostError when the
    // page cannot be loaded.
    PageChecker(PageHost::Settings settings, std::optional<std::string> variantList);

    const CheckFindings& run();
    // Every variant checked, by name, in order.
    const std::vector<std::string>& variantNames() const { return _variantNames; }

private:
    // Reads the panes the root page and its links open, as files.
    void loadPanes(PageHost& probe);
    // A page built and timed; the time is taken again when it looks slow,
    // since a busy machine may have held it up.
    std::unique_ptr<PageHost> buildPage(const PageHost::Settings& settings, double& milliseconds,
                                        std::vector<std::string>& conflicts);
    // The pages the links of the shown page (made from `shown`) open.
    void checkChildren(PageHost& host, const PaneFile* shown, DrawnPageRules& rules,
                       std::set<std::string>& visited, int depth);
    const PaneFile* paneNamed(const std::string& name) const;
    // The pane a link row opens ("id", else "label").
    static std::optional<std::string> paneOfLink(const Value::Dictionary& properties);

    PageHost::Settings _settings;
    std::optional<std::string> _variantList;
    std::vector<CheckVariant> _variants;
    std::vector<std::string> _variantNames;
    std::map<std::string, std::unique_ptr<PaneFile>> _panes;
    // The class of each pane's page, whose instances are its rows' target.
    std::map<std::string, Class> _targets;
    CheckFindings _findings;
};
