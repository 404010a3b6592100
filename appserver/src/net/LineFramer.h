#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ger {

/// Cuts a byte stream into newline-terminated lines. A pure state machine: bytes in, lines
/// out, no I/O. A line longer than the limit puts it in the overflow state for good, since
/// the stream can no longer be trusted to be in step with the requests.
class LineFramer {
public:
    explicit LineFramer(std::size_t maxLineLength) : maxLineLength_(maxLineLength) {}

    /// Consumes bytes; each complete line (without "\n" or a "\r" before it) is appended to
    /// lines. Returns false once the limit was exceeded; later input is ignored.
    bool Feed(std::string_view bytes, std::vector<std::string>& lines);

    bool Overflowed() const { return overflowed_; }
    /// Bytes of the unfinished line held.
    std::size_t Buffered() const { return partial_.size(); }
    /// Drops the unfinished line and its memory.
    void Discard() { std::string().swap(partial_); }
    std::size_t MaxLineLength() const { return maxLineLength_; }

private:
    std::size_t maxLineLength_;
    std::string partial_;
    bool overflowed_ = false;
};

} // namespace ger
