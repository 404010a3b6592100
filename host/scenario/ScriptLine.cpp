#include "ScriptLine.h"

#include "ScriptFault.h"

#include <algorithm>
#include <cctype>

namespace gerscript {

namespace {

// What follows the command word; Words: none or some, blank-separated.
enum class Args { None, Word, Words, Text, Shell };

struct VerbSyntax {
    const char* name;
    Verb verb;
    Args args;
    const char* argument; // what the argument is, for fault messages
};

constexpr VerbSyntax kVerbs[] = {
    {"open", Verb::Open, Args::None, ""},
    {"activate", Verb::Activate, Args::None, ""},
    {"minimize", Verb::Minimize, Args::None, ""},
    {"maximize", Verb::Maximize, Args::None, ""},
    {"close", Verb::Close, Args::None, ""},
    {"focus", Verb::Focus, Args::Word, "a control name"},
    {"col", Verb::Col, Args::Word, "a field name"},
    {"row", Verb::Row, Args::Word, "a row number"},
    {"type", Verb::Type, Args::Text, "a text (\"\" for an empty one)"},
    {"key", Verb::Key, Args::Word, "a key name"},
    {"pick", Verb::Pick, Args::Text, "a list entry"},
    {"click", Verb::Click, Args::Word, "a button or menu entry name"},
    {"answer", Verb::Answer, Args::Word, "yes or no"},
    {"show", Verb::Show, Args::Words, ""},
    {"grid", Verb::Grid, Args::Word, "a grid name"},
    {"sh", Verb::Sh, Args::Shell, "a shell command"},
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Walks a line left to right; every method starts where the last one stopped.
class LineScanner {
public:
    explicit LineScanner(std::string_view line) : line_(line) {}

    void SkipBlanks() {
        while (pos_ < line_.size() && IsBlank(line_[pos_]))
            ++pos_;
    }
    // Nothing but blanks or a comment is left (called after SkipBlanks).
    bool AtEnd() const { return pos_ >= line_.size() || line_[pos_] == '#'; }
    bool AtQuote() const { return pos_ < line_.size() && line_[pos_] == '"'; }

    std::string Word() {
        const std::size_t start = pos_;
        while (pos_ < line_.size() && !IsBlank(line_[pos_]))
            ++pos_;
        return std::string(line_.substr(start, pos_ - start));
    }

    std::string Quoted() {
        std::string text;
        ++pos_; // the opening quote
        for (;;) {
            if (pos_ >= line_.size()) throw ScriptFault("quoted text has no closing quote");
            const char c = line_[pos_++];
            if (c == '"') break;
            if (c == '\\') {
                if (pos_ >= line_.size()) throw ScriptFault("quoted text has no closing quote");
                const char escaped = line_[pos_++];
                if (escaped != '"' && escaped != '\\')
                    throw ScriptFault(std::string("unknown escape \\") + escaped +
                                      " in quoted text (only \\\" and \\\\)");
                text += escaped;
                continue;
            }
            text += c;
        }
        if (pos_ < line_.size() && !IsBlank(line_[pos_]))
            throw ScriptFault("a blank must follow the closing quote");
        return text;
    }

    std::string Token() { return AtQuote() ? Quoted() : Word(); }

    // Up to a comment (a '#' after a blank), without the blanks before it.
    std::string RestOfLine() {
        std::size_t end = pos_;
        while (end < line_.size() && !(line_[end] == '#' && IsBlank(line_[end - 1])))
            ++end;
        std::size_t last = end;
        while (last > pos_ && IsBlank(line_[last - 1]))
            --last;
        std::string text(line_.substr(pos_, last - pos_));
        pos_ = end;
        return text;
    }

    std::string Raw() {
        std::string text(line_.substr(pos_));
        pos_ = line_.size();
        return text;
    }

private:
    std::string_view line_;
    std::size_t pos_ = 0;
};

const VerbSyntax& FindVerb(const std::string& word) {
    for (const VerbSyntax& syntax : kVerbs)
        if (word == syntax.name) return syntax;
    throw ScriptFault("unknown command '" + word + "'");
}

int ParseRowNumber(const std::string& word) {
    const bool digits =
        !word.empty() && word.size() <= 6 && std::all_of(word.begin(), word.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c));
        });
    const int row = digits ? std::stoi(word) : 0;
    if (row < 1) throw ScriptFault("row number '" + word + "' is not a whole number from 1 up");
    return row;
}

bool ParseAnswer(const std::string& word) {
    if (word == "yes") return true;
    if (word == "no") return false;
    throw ScriptFault("answer must be yes or no, not '" + word + "'");
}

void CheckEnd(LineScanner& scanner, const VerbSyntax& syntax) {
    scanner.SkipBlanks();
    if (!scanner.AtEnd())
        throw ScriptFault(std::string("'") + syntax.name + "' takes " +
                          (syntax.args == Args::None ? "no argument" : "one argument"));
}

} // namespace

std::string_view TrimLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    while (!line.empty() && IsBlank(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && IsBlank(line.back()))
        line.remove_suffix(1);
    return line;
}

std::optional<ScriptCommand> ParseScriptLine(std::string_view line) {
    LineScanner scanner(TrimLine(line));
    scanner.SkipBlanks();
    if (scanner.AtEnd()) return std::nullopt;
    const VerbSyntax& syntax = FindVerb(scanner.Word());

    ScriptCommand command;
    command.verb = syntax.verb;
    if (syntax.args == Args::None) {
        CheckEnd(scanner, syntax);
        return command;
    }
    scanner.SkipBlanks();
    if (syntax.args == Args::Words) {
        command.text = scanner.RestOfLine();
        return command;
    }
    if (scanner.AtEnd())
        throw ScriptFault(std::string("'") + syntax.name + "' needs " + syntax.argument);
    switch (syntax.args) {
    case Args::Shell:
        command.text = scanner.Raw();
        return command;
    case Args::Text:
        if (scanner.AtQuote()) {
            command.text = scanner.Quoted();
            CheckEnd(scanner, syntax);
        } else {
            command.text = scanner.RestOfLine();
        }
        return command;
    case Args::Word:
    case Args::Words:
    case Args::None:
        break;
    }
    command.text = scanner.Token();
    CheckEnd(scanner, syntax);
    if (syntax.verb == Verb::Row) command.row = ParseRowNumber(command.text);
    if (syntax.verb == Verb::Key) command.key = ParseKeyName(command.text);
    if (syntax.verb == Verb::Answer) command.yes = ParseAnswer(command.text);
    return command;
}

} // namespace gerscript
