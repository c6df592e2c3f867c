#pragma once

#include <string>

// The words the system frameworks show themselves (the Settings list's
// title, bar buttons, the mail composer's and browser's buttons, the share
// sheet's actions), in the device's language as the frameworks' own string
// tables give them: German, French, Spanish, Japanese, Simplified Chinese,
// Russian, Arabic and Hebrew, English otherwise.
class SDKSystemText {
public:
    SDKSystemText() = delete;

    // The English word in the language the preferred languages choose among
    // those above; a word without a translation stays as given.
    static std::string localized(const std::string& english);
    // The language chosen: "en" when none of the preferred languages is one of the above.
    static std::string language();
};
