#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace ger {

/// The shared secret a client presents once per connection, with the "Login" call, before the
/// server serves it. An empty token requires no login.
class AccessToken {
public:
    /// A short secret could be guessed one connection at a time.
    static constexpr std::size_t kMinLength = 16;

    AccessToken() = default;
    /// The first line of the file at path, without surrounding blanks; throws
    /// std::runtime_error when it cannot be read or is shorter than kMinLength.
    static AccessToken FromFile(const std::string& path);
    /// The token text itself, with the same length check.
    static AccessToken FromText(std::string text);

    bool Required() const { return !secret_.empty(); }
    /// True when offered is the secret. Takes the same time whatever offered holds, so the
    /// answers' timing tells a guesser nothing about how close a guess came.
    bool Matches(std::string_view offered) const;

private:
    explicit AccessToken(std::string secret) : secret_(std::move(secret)) {}
    std::string secret_;
};

} // namespace ger
