#include "net/LineFramer.h"

namespace ger {

bool LineFramer::Feed(std::string_view bytes, std::vector<std::string>& lines) {
    while (!overflowed_ && !bytes.empty()) {
        std::size_t newline = bytes.find('\n');
        std::string_view piece = bytes.substr(0, newline);
        const std::size_t length = partial_.size() + piece.size();
        const bool complete = newline != std::string_view::npos;
        const bool endsWithCr =
            length > 0 && (piece.empty() ? partial_.back() : piece.back()) == '\r';
        // A "\r" before the newline is not part of the line: allow a byte for it while the
        // line is incomplete (the "\r" may be the last byte received) or when it is there.
        const std::size_t allowed = maxLineLength_ + (!complete || endsWithCr ? 1 : 0);
        if (length > allowed) {
            overflowed_ = true;
            partial_.clear();
            partial_.shrink_to_fit();
            break;
        }
        partial_.append(piece);
        if (!complete) break;
        if (!partial_.empty() && partial_.back() == '\r') partial_.pop_back();
        lines.push_back(std::move(partial_));
        partial_.clear();
        bytes.remove_prefix(newline + 1);
    }
    return !overflowed_;
}

} // namespace ger
