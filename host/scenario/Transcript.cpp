#include "Transcript.h"

#include "TextFormat.h"

namespace gerscript {

namespace {

std::string CallArguments(const nlohmann::json& args) {
    if (!args.is_array() || args.empty()) return "";
    const nlohmann::json& first = args.front();
    if (first.is_string()) return JsonText(first.get<std::string>());
    // A Set method sends the change log: what matters to a reader is how many changes went.
    if (first.is_object() && first.contains("changes") && first["changes"].is_array())
        return std::to_string(first["changes"].size()) + " changes";
    return first.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

} // namespace

void Transcript::Command(std::string_view line) {
    out_ << "> " << line << '\n';
}

void Transcript::Dialog(const plat::DialogRecord& record) {
    if (record.kind == plat::DialogRecord::Kind::Error) {
        out_ << "error: " << LineText(record.text) << '\n';
        return;
    }
    out_ << "ask: " << LineText(record.text) << " = "
         << (record.answer == plat::TModalResult::Yes ? "yes" : "no")
         << (record.unanswered ? " (unanswered)" : "") << '\n';
}

void Transcript::Call(const std::string& method, const nlohmann::json& args) {
    ++calls_;
    out_ << "call: " << method << '(' << CallArguments(args) << ")\n";
}

void Transcript::CacheNotice(const std::string& table) {
    out_ << "cache: " << table << '\n';
}

void Transcript::ShellExit(int status) {
    out_ << "sh: exit " << status << '\n';
}

} // namespace gerscript
