#include "shared/SqlParams.h"

#include "core/Value.h"

namespace plat {

namespace {

bool IsNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsNameChar(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9');
}

// Position just past the quoted text starting at start (doubled quotes stay inside).
std::size_t SkipQuoted(const std::string& sql, std::size_t start) {
    const char quote = sql[start];
    std::size_t i = start + 1;
    while (i < sql.size()) {
        if (sql[i] == quote) {
            if (i + 1 < sql.size() && sql[i + 1] == quote) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return sql.size();
}

} // namespace

TParsedSql ParseNamedParams(const std::string& sql) {
    TParsedSql parsed;
    std::string fragment;
    std::size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        std::size_t next = i + 1;
        if (c == '\'' || c == '"') {
            next = SkipQuoted(sql, i);
        } else if (c == '-' && sql.compare(i, 2, "--") == 0) {
            next = sql.find('\n', i);
            if (next == std::string::npos) next = sql.size();
        } else if (c == '/' && sql.compare(i, 2, "/*") == 0) {
            next = sql.find("*/", i + 2);
            next = next == std::string::npos ? sql.size() : next + 2;
        } else if (c == ':' && i + 1 < sql.size() && sql[i + 1] == ':') {
            next = i + 2;
        } else if (c == ':' && i + 1 < sql.size() && IsNameStart(sql[i + 1])) {
            std::size_t end = i + 1;
            while (end < sql.size() && IsNameChar(sql[end]))
                ++end;
            parsed.fragments.push_back(std::move(fragment));
            fragment.clear();
            parsed.names.push_back(UpperCase(sql.substr(i + 1, end - i - 1)));
            i = end;
            continue;
        }
        fragment.append(sql, i, next - i);
        i = next;
    }
    parsed.fragments.push_back(std::move(fragment));
    return parsed;
}

} // namespace plat
