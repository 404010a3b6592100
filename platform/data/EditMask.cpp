#include "data/EditMask.h"

#include "core/Value.h"

#include <cctype>

namespace plat {

TEditMask::TEditMask(const std::string& mask) {
    const std::string body = mask.substr(0, mask.find(';'));
    Case current = Case::Keep;
    for (std::size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        switch (c) {
        case '>':
            if (i + 1 < body.size() && body[i + 1] == '<') {
                current = Case::Keep;
                ++i;
            } else {
                current = Case::Upper;
            }
            break;
        case '<':
            current = Case::Lower;
            break;
        case '\\':
            ++i;
            break; // the next character is a literal
        case '0':
        case '9':
            slots_.push_back({Kind::Digit, current});
            break;
        case '#':
            slots_.push_back({Kind::DigitOrSign, current});
            break;
        case 'L':
        case 'l':
            slots_.push_back({Kind::Letter, current});
            break;
        case 'A':
        case 'a':
            slots_.push_back({Kind::AlphaNum, current});
            break;
        case 'C':
        case 'c':
            slots_.push_back({Kind::Any, current});
            break;
        default:
            break; // literal: shown by the mask, never typed nor stored
        }
    }
}

std::optional<std::string> TEditMask::Accept(std::size_t position, const std::string& ch) const {
    if (position >= slots_.size() || ch.empty()) return std::nullopt;
    const Slot& slot = slots_[position];
    const unsigned char first = static_cast<unsigned char>(ch[0]);
    const bool ascii = ch.size() == 1;
    const bool digit = ascii && std::isdigit(first);
    // Accented letters arrive as multi-byte UTF-8 and count as letters.
    const bool letter = (ascii && std::isalpha(first)) || (!ascii && first >= 0xC3);
    bool ok = false;
    switch (slot.kind) {
    case Kind::Digit:
        ok = digit;
        break;
    case Kind::DigitOrSign:
        ok = digit || ch == "+" || ch == "-";
        break;
    case Kind::Letter:
        ok = letter;
        break;
    case Kind::AlphaNum:
        ok = letter || digit;
        break;
    case Kind::Any:
        ok = true;
        break;
    }
    if (!ok) return std::nullopt;
    if (slot.letterCase == Case::Upper) return UpperCase(ch);
    if (slot.letterCase == Case::Lower) return LowerCase(ch);
    return ch;
}

} // namespace plat
