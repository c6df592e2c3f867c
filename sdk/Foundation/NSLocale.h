#pragma once

#include <optional>
#include <string>
#include <vector>

#include <objc/NSObject.h>

enum NSLocaleLanguageDirection : long {
    NSLocaleLanguageDirectionUnknown = 0,
    NSLocaleLanguageDirectionLeftToRight = 1,
    NSLocaleLanguageDirectionRightToLeft = 2,
};

// The user's languages, as Settings → General → Language & Region orders
// them, and the rules for naming a language.
class NSLocale : public NSObject {
public:
    // Best first, in canonical form ("de", "zh-Hans-CN", "pt-BR"): the host's
    // choice, else English alone.
    static std::vector<std::string> preferredLanguages();
    // The host's side. Each entry is given in any form canonicalLanguageIdentifierFromString
    // reads; an empty list goes back to English.
    static void setPreferredLanguages(const std::vector<std::string>& languages);

    // A language's canonical identifier: `_` becomes `-`, the parts take
    // their usual case ("zh-hans-cn" → "zh-Hans-CN"), the old English names of
    // localisation folders ("English", "German", "Japanese"…) become their
    // codes, Chinese with a region gets its script ("zh_CN" → "zh-Hans-CN",
    // "zh-TW" → "zh-Hant-TW") and the retired Hebrew code "iw" becomes "he".
    // nil for text that names no language (empty, a mark other than a
    // letter, digit, `-` or `_`, a first part that is not two or three
    // letters, or longer than 64 characters).
    static std::optional<std::string>
    canonicalLanguageIdentifierFromString(const std::string& text);

    // Right to left for Arabic, Hebrew, Persian and Urdu, left to right for
    // every other language, unknown for text that names none.
    static NSLocaleLanguageDirection characterDirectionForLanguage(const std::string& language);
};
