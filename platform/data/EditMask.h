#pragma once
#include <optional>
#include <string>
#include <vector>

namespace plat {

/// An edit mask ("99;0; ", ">l;0; "): decides which characters may be typed at which position.
/// Only the mask part before the first ';' matters for typing; literal characters are not
/// stored, so the text typed is kept without them.
class TEditMask {
public:
    explicit TEditMask(const std::string& mask);
    bool Empty() const { return slots_.empty(); }
    /// Number of characters the mask holds.
    std::size_t MaxLength() const { return slots_.size(); }
    /// The character (one UTF-8 character) as it goes in at position, case changed as the
    /// mask says; nothing when the mask refuses it there.
    std::optional<std::string> Accept(std::size_t position, const std::string& ch) const;

private:
    enum class Kind { Digit, DigitOrSign, Letter, AlphaNum, Any };
    enum class Case { Keep, Upper, Lower };
    struct Slot {
        Kind kind;
        Case letterCase;
    };
    std::vector<Slot> slots_;
};

} // namespace plat
