#include <Foundation/Unicode.h>

namespace {

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

} // namespace

Unicode::Character Unicode::decode(std::string_view text, size_t offset) {
    const auto byte = [&](size_t index) {
        return static_cast<unsigned char>(text[offset + index]);
    };
    const size_t available = text.size() - offset;
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return {lead, 1};
    }
    // Well-formed sequences as Unicode defines them: no overlong forms, no
    // surrogates, nothing beyond U+10FFFF. The second byte's range depends on
    // the lead byte.
    size_t size = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    char32_t codePoint = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        size = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        size = 3;
        codePoint = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        size = 4;
        codePoint = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    }
    if (size == 0 || available < size || byte(1) < low || byte(1) > high) {
        return {kReplacementCharacter, 1};
    }
    for (size_t index = 1; index < size; ++index) {
        if (!isContinuation(byte(index))) {
            return {kReplacementCharacter, 1};
        }
        codePoint = (codePoint << 6) | (byte(index) & 0x3F);
    }
    return {codePoint, size};
}

bool Unicode::isValidUTF8(std::string_view text) {
    for (size_t offset = 0; offset < text.size();) {
        if (static_cast<unsigned char>(text[offset]) < 0x80) {
            ++offset;
            continue;
        }
        const Character character = decode(text, offset);
        if (character.codePoint == kReplacementCharacter && character.size == 1) {
            return false;
        }
        offset += character.size;
    }
    return true;
}

size_t Unicode::utf16Length(std::string_view text) {
    size_t units = 0;
    for (size_t offset = 0; offset < text.size();) {
        if (static_cast<unsigned char>(text[offset]) < 0x80) {
            ++units;
            ++offset;
            continue;
        }
        Character character = decode(text, offset);
        units += utf16Units(character.codePoint);
        offset += character.size;
    }
    return units;
}

void Unicode::append(std::string& text, char32_t codePoint) {
    if ((codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF) {
        codePoint = kReplacementCharacter;
    }
    if (codePoint < 0x80) {
        text.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        text.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        text.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        text.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        text.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        text.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        text.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

bool Unicode::isWhitespaceOrNewline(char32_t codePoint) {
    switch (codePoint) {
    case 0x0020:
    case 0x0085:
    case 0x00A0:
    case 0x1680:
    case 0x2028:
    case 0x2029:
    case 0x202F:
    case 0x205F:
    case 0x3000:
        return true;
    default:
        return (codePoint >= 0x0009 && codePoint <= 0x000D) ||
               (codePoint >= 0x2000 && codePoint <= 0x200A);
    }
}

size_t Unicode::skipWhitespaceAndNewlines(std::string_view text, size_t offset) {
    while (offset < text.size()) {
        Character character = decode(text, offset);
        if (!isWhitespaceOrNewline(character.codePoint)) {
            break;
        }
        offset += character.size;
    }
    return offset;
}
