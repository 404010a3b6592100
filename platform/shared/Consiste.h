#pragma once
#include <nlohmann/json.hpp>
#include <string>

namespace plat {

class TDBGrid;

/// Text of the named field's cell in the grid's current row, including text typed but not yet
/// written to the field. The flag is unused (kept for callers written against the old unit).
std::string GridText(TDBGrid& grid, const std::string& fieldName, bool flag);

/// Position of the column bound to the named field in the grid's columns; -1 when none is.
int IndiceCol(TDBGrid& grid, const std::string& fieldName);

/// True when nothing was entered: the empty text or blanks only (a blank masked cell).
bool EmptyString(const std::string& text);

/// Brings a code to its stored width: shorter texts are padded on the left with "0";
/// longer ones come back unchanged.
std::string Ajusta(const std::string& text, int width);

/// Shows text as an error; with abort set it then raises the silent abort.
void MensErro(const std::string& text, bool abort);

/// Replaces the one "%s" of pattern by arg.
std::string Format(const std::string& pattern, const std::string& arg);

/// Checks a server result (a JSON-RPC response object). On success returns its data part
/// (the "result" member; null for the Set methods). On a refusal or failure shows the server's
/// message to the user as an error, once, and raises the silent abort. Flag and number are
/// accepted for callers written against the old unit and are not used.
nlohmann::json CheckResultServ(const nlohmann::json& result, bool flag, int number);

} // namespace plat
