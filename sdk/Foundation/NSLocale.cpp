#include <Foundation/NSLocale.h>

#include <algorithm>
#include <cctype>
#include <mutex>
#include <utility>

namespace {

constexpr size_t kLongestIdentifier = 64;

struct LanguageState {
    std::mutex lock;
    std::vector<std::string> languages{"en"};
};

LanguageState& languageState() {
    // Never destroyed: a worker may still read it while the process exits.
    static LanguageState& state = *new LanguageState;
    return state;
}

// The names older bundles gave their localisation folders ("English.lproj").
const std::pair<const char*, const char*> kLegacyNames[] = {
    {"english", "en"},    {"french", "fr"},    {"german", "de"},     {"italian", "it"},
    {"dutch", "nl"},      {"swedish", "sv"},   {"spanish", "es"},    {"danish", "da"},
    {"portuguese", "pt"}, {"norwegian", "nb"}, {"hebrew", "he"},     {"japanese", "ja"},
    {"arabic", "ar"},     {"finnish", "fi"},   {"greek", "el"},      {"icelandic", "is"},
    {"turkish", "tr"},    {"croatian", "hr"},  {"urdu", "ur"},       {"hindi", "hi"},
    {"thai", "th"},       {"korean", "ko"},    {"lithuanian", "lt"}, {"polish", "pl"},
    {"hungarian", "hu"},  {"estonian", "et"},  {"latvian", "lv"},    {"russian", "ru"},
    {"ukrainian", "uk"},  {"czech", "cs"},     {"slovak", "sk"},     {"romanian", "ro"},
    {"persian", "fa"},    {"farsi", "fa"},     {"vietnamese", "vi"}, {"indonesian", "id"},
    {"malay", "ms"},      {"catalan", "ca"},   {"bulgarian", "bg"},
};

const char* const kRightToLeftLanguages[] = {"ar", "he", "fa", "ur"};

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool allLetters(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](unsigned char c) { return std::isalpha(c) != 0; });
}

std::vector<std::string> parts(const std::string& text) {
    std::vector<std::string> found(1);
    for (char c : text) {
        if (c == '-' || c == '_') {
            found.emplace_back();
        } else {
            found.back() += c;
        }
    }
    return found;
}

} // namespace

std::vector<std::string> NSLocale::preferredLanguages() {
    LanguageState& state = languageState();
    std::lock_guard guard(state.lock);
    return state.languages;
}

void NSLocale::setPreferredLanguages(const std::vector<std::string>& languages) {
    std::vector<std::string> canonical;
    for (const std::string& language : languages) {
        if (std::optional<std::string> identifier =
                canonicalLanguageIdentifierFromString(language)) {
            canonical.push_back(std::move(*identifier));
        }
    }
    if (canonical.empty()) {
        canonical.push_back("en");
    }
    LanguageState& state = languageState();
    std::lock_guard guard(state.lock);
    state.languages = std::move(canonical);
}

std::optional<std::string>
NSLocale::canonicalLanguageIdentifierFromString(const std::string& text) {
    if (text.empty() || text.size() > kLongestIdentifier ||
        !std::all_of(text.begin(), text.end(), [](unsigned char c) {
            return std::isalnum(c) != 0 || c == '-' || c == '_';
        })) {
        return std::nullopt;
    }
    std::vector<std::string> pieces = parts(lowered(text));
    for (const auto& [name, code] : kLegacyNames) {
        if (pieces.front() == name) {
            pieces.front() = code;
        }
    }
    const std::string& language = pieces.front();
    if (language.size() < 2 || language.size() > 3 || !allLetters(language) ||
        std::any_of(pieces.begin(), pieces.end(), [](const std::string& p) { return p.empty(); })) {
        return std::nullopt;
    }
    if (language == "iw") {
        pieces.front() = "he";
    }
    std::string identifier = pieces.front();
    bool hasScript = false;
    for (size_t i = 1; i < pieces.size(); ++i) {
        std::string piece = pieces[i];
        if (i == 1 && piece.size() == 4 && allLetters(piece)) {
            piece[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(piece[0])));
            hasScript = true;
        } else if (piece.size() == 2 && allLetters(piece)) {
            std::transform(piece.begin(), piece.end(), piece.begin(),
                           [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
            // Chinese named by its region alone is written in that region's script.
            if (identifier == "zh" && !hasScript) {
                const bool traditional = piece == "TW" || piece == "HK" || piece == "MO";
                identifier += traditional ? "-Hant" : "-Hans";
                hasScript = true;
            }
        }
        identifier += "-" + piece;
    }
    return identifier;
}

NSLocaleLanguageDirection NSLocale::characterDirectionForLanguage(const std::string& language) {
    std::optional<std::string> identifier = canonicalLanguageIdentifierFromString(language);
    if (!identifier) {
        return NSLocaleLanguageDirectionUnknown;
    }
    const std::string code = identifier->substr(0, identifier->find('-'));
    for (const char* rightToLeft : kRightToLeftLanguages) {
        if (code == rightToLeft) {
            return NSLocaleLanguageDirectionRightToLeft;
        }
    }
    return NSLocaleLanguageDirectionLeftToRight;
}
