#include "PageChecker.h"

#include <Foundation/NSBundle.h>
#include <Foundation/NSLocale.h>
#include <Foundation/SDKEventLog.h>
#include <UIKit/UINavigationController.h>
#include <objc/runtime.h>
#include <render/SDKPageRenderer.h>

#include "BundleRules.h"
#include "HostError.h"
#include "LocalizationRule.h"

namespace {

// How deep links are followed from the root page.
constexpr int kDeepestLink = 8;

std::vector<std::string> conflictsSince(size_t first) {
    std::vector<std::string> conflicts;
    for (SDKEvents::Error& error : SDKEventLog::records<SDKEvents::Error>(first)) {
        const std::string& text = error.message;
        if (text.rfind("Unable to simultaneously satisfy constraints", 0) == 0 ||
            text.rfind("Unable to activate constraint", 0) == 0) {
            conflicts.push_back(std::move(error.message));
        }
    }
    return conflicts;
}

} // namespace

PageChecker::PageChecker(PageHost::Settings settings, std::optional<std::string> variantList)
    : _settings(std::move(settings)), _variantList(std::move(variantList)) {
    _settings.wholePage = true;
}

std::optional<std::string> PageChecker::paneOfLink(const Value::Dictionary& properties) {
    if (std::optional<std::string> identifier = PaneFile::text(properties, "id")) {
        return identifier;
    }
    return PaneFile::text(properties, "label");
}

const PaneFile* PageChecker::paneNamed(const std::string& name) const {
    auto found = _panes.find(name);
    return found == _panes.end() ? nullptr : found->second.get();
}

void PageChecker::loadPanes(PageHost& probe) {
    // A link's page is its "detail" class when that is loaded, else a plain list controller.
    const Class plainPage = alloc<PSListController>()->init()->objcClass();
    _targets["Root"] = probe.controller()->objcClass();
    std::vector<std::string> pending{"Root"};
    while (!pending.empty()) {
        const std::string name = pending.back();
        pending.pop_back();
        if (_panes.count(name)) {
            continue;
        }
        std::unique_ptr<PaneFile> pane = PaneFile::load(probe.bundle(), name);
        if (pane) {
            for (const Value& item : pane->items()) {
                const Value::Dictionary* entry = item.dictionary();
                if (entry &&
                    PaneFile::text(*entry, "cell") == std::optional<std::string>("PSLinkCell")) {
                    if (std::optional<std::string> child = paneOfLink(*entry)) {
                        const std::optional<std::string> detail = PaneFile::text(*entry, "detail");
                        const Class page = detail ? objc_getClass(detail->c_str()) : nullptr;
                        _targets.try_emplace(*child, page ? page : plainPage);
                        pending.push_back(*child);
                    }
                }
            }
        }
        _panes[name] = std::move(pane);
    }
}

std::unique_ptr<PageHost> PageChecker::buildPage(const PageHost::Settings& settings,
                                                 double& milliseconds,
                                                 std::vector<std::string>& conflicts) {
    std::unique_ptr<PageHost> host;
    for (int attempt = 0; attempt < 2; ++attempt) {
        host.reset();
        const size_t before = SDKEventLog::count();
        const double start = DrawnPageRules::processorMilliseconds();
        host = std::make_unique<PageHost>(settings);
        const double taken = DrawnPageRules::processorMilliseconds() - start;
        conflicts = conflictsSince(before);
        milliseconds = attempt == 0 ? taken : std::min(milliseconds, taken);
        if (milliseconds <= DrawnPageRules::kSlowPage / 2) {
            break;
        }
    }
    return host;
}

const CheckFindings& PageChecker::run() {
    // A first build tells what the bundle holds, and loads its code and the
    // fonts before anything is timed.
    std::unique_ptr<PageHost> probe = std::make_unique<PageHost>(_settings);
    const Ref<NSBundle> bundle = probe->bundle();
    std::vector<std::string> languages;
    for (const std::string& localization : bundle->localizations()) {
        std::optional<std::string> code =
            NSLocale::canonicalLanguageIdentifierFromString(localization);
        if (localization != "Base" && code &&
            std::find(languages.begin(), languages.end(), *code) == languages.end()) {
            languages.push_back(*code);
        }
    }
    std::string error;
    std::optional<std::vector<CheckVariant>> variants =
        CheckVariant::fromList(_variantList, languages, &error);
    if (!variants) {
        throw HostError(HostError::Kind::Usage, "--variants: " + error);
    }
    _variants = *variants;
    for (const CheckVariant& variant : _variants) {
        _variantNames.push_back(variant.name());
    }

    // The items, once for every variant.
    const Value::Dictionary& info = bundle->infoDictionary();
    const std::optional<std::string> executable = PaneFile::text(info, "CFBundleExecutable");
    const std::optional<std::string> principal = PaneFile::text(info, "NSPrincipalClass");
    const bool codeLoaded = !executable || !principal || *principal == "PSListController" ||
                            objc_getClass(principal->c_str());
    loadPanes(*probe);
    BundleRules bundleRules(bundle, codeLoaded, _findings, _variantNames);
    for (const auto& [name, pane] : _panes) {
        if (pane) {
            bundleRules.check(*pane, _targets[name]);
        }
    }
    SDKPageRenderer(probe->window(), 1).makeImage();
    probe.reset();

    LocalizationRule localization(bundle, _findings);
    std::set<std::string> languagesChecked;
    for (const CheckVariant& variant : _variants) {
        PageHost::Settings settings = _settings;
        settings.look = variant.look(_settings.look);
        double milliseconds = 0;
        std::vector<std::string> conflicts;
        std::unique_ptr<PageHost> host = buildPage(settings, milliseconds, conflicts);
        if (languagesChecked.insert(variant.language).second) {
            std::vector<std::string> inLanguage;
            for (const CheckVariant& other : _variants) {
                if (other.language == variant.language) {
                    inLanguage.push_back(other.name());
                }
            }
            for (const auto& [name, pane] : _panes) {
                if (pane) {
                    localization.check(*pane, inLanguage);
                }
            }
        }
        DrawnPageRules rules(_findings, variant.name());
        rules.check(*host, paneNamed("Root"), milliseconds, conflicts);
        std::set<std::string> visited{"Root"};
        checkChildren(*host, paneNamed("Root"), rules, visited, 1);
    }
    return _findings;
}

void PageChecker::checkChildren(PageHost& host, const PaneFile* shown, DrawnPageRules& rules,
                                std::set<std::string>& visited, int depth) {
    if (depth > kDeepestLink) {
        return;
    }
    for (const PageHost::Row& row : host.rows()) {
        const std::string kind = row.specifier->cellType();
        if (kind != "PSLinkCell" && kind != "PSLinkListCell") {
            continue;
        }
        // A list link opens its list of choices, made from its own item; so
        // does a link whose detail is that list.
        const bool list =
            kind == "PSLinkListCell" || row.specifier->propertyForKey("detail").optionalString() ==
                                            std::optional<std::string>("PSListItemsController");
        const std::optional<std::string> pane =
            list ? std::nullopt : paneOfLink(row.specifier->properties());
        if (!list && (!pane || !visited.insert(*pane).second)) {
            continue;
        }
        const Ref<UINavigationController> navigation = host.navigationController();
        const Ref<PSListController> child =
            host.shownController()->controllerForLink(row.specifier);
        const size_t before = SDKEventLog::count();
        const double start = DrawnPageRules::processorMilliseconds();
        navigation->pushViewController(child, false);
        host.settle();
        const double milliseconds = DrawnPageRules::processorMilliseconds() - start;
        if (list) {
            rules.check(host, shown, milliseconds, conflictsSince(before), row.specifier);
        } else {
            rules.check(host, paneNamed(*pane), milliseconds, conflictsSince(before));
            checkChildren(host, paneNamed(*pane), rules, visited, depth + 1);
        }
        navigation->popViewControllerAnimated(false);
        host.settle();
    }
}
