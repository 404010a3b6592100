#include "shared/Messages.h"

#include "app/Application.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace plat {

namespace {

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool SameKey(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

bool IsBlankLine(const std::string& line) {
    return line.find_first_not_of(" \t") == std::string::npos;
}

} // namespace

TMessages::TMessages(TComponent* owner, std::string name) : TComponent(owner, std::move(name)) {}

void TMessages::LoadFromText(const std::string& utf8) {
    std::string_view text = utf8;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3); // byte-order mark of an editor

    std::vector<std::pair<std::string, std::string>> lines;
    std::istringstream stream{std::string(text)};
    std::string line;
    for (int number = 1; std::getline(stream, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (IsBlankLine(line)) continue;
        const std::size_t bar = line.find('|');
        if (bar == std::string::npos)
            throw std::runtime_error("Catálogo de mensagens '" + Name() + "', linha " +
                                     std::to_string(number) + ": falta '|' em \"" + line + "\".");
        lines.emplace_back(line.substr(0, bar), line.substr(bar + 1));
    }
    lines_ = std::move(lines);
}

void TMessages::LoadFromFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("Não foi possível ler o catálogo de mensagens '" + path + "'.");
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad()) throw std::runtime_error("Erro ao ler o catálogo de mensagens '" + path + "'.");
    LoadFromText(content.str());
}

std::string TMessages::Msg(const std::string& key) const {
    for (const auto& [entryKey, text] : lines_)
        if (SameKey(entryKey, key)) return text;
    return key;
}

TModalResult TMessages::ShowMsg(const std::string& key, TMsgDlgType type,
                                const TMsgDlgButtons& buttons, int helpContext) const {
    return Application().Dialogs().Ask(Msg(key), type, buttons, helpContext);
}

} // namespace plat
