#pragma once
#include <ostream>
#include <string>
#include <string_view>

namespace plat {
class TDBGrid;
class TForm;
} // namespace plat

namespace gerscript {

/// Prints what the screen shows, in the fixed formats of the show and grid commands.
class StateBlock {
public:
    /// A part named NAME or NAME.current (the latter: its current row only).
    struct Part {
        std::string name;
        bool currentOnly = false;
    };
    static Part ParsePart(std::string_view text);
    StateBlock() = delete;

    /// The form line; for an open form also the command line and every dataset a grid shows
    /// with its rows. form is null when no screen is open.
    static void PrintForm(std::ostream& out, const plat::TForm* form);
    /// Parts of that state, in the order named (blank-separated): form (the form line),
    /// commands (the command and menu lines), the name of a dataset a grid shows (it with
    /// every row) or NAME.current (it with its current row only). No parts: PrintForm.
    /// Throws ScriptFault for a part the screen does not have.
    static void PrintParts(std::ostream& out, const plat::TForm* form, std::string_view parts);
    /// The grid's column, header line and rows (or its current row only) as it shows them.
    static void PrintGrid(std::ostream& out, const plat::TDBGrid& grid, bool currentOnly);
};

} // namespace gerscript
