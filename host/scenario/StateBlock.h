#pragma once
#include <ostream>

namespace plat {
class TDBGrid;
class TForm;
} // namespace plat

namespace gerscript {

/// Prints what the screen shows, in the fixed formats of the show and grid commands.
class StateBlock {
public:
    StateBlock() = delete;

    /// The form line; for an open form also the command line and every dataset a grid shows
    /// with its rows. form is null when no screen is open.
    static void PrintForm(std::ostream& out, const plat::TForm* form);
    /// The grid's column, header line and rows as it shows them.
    static void PrintGrid(std::ostream& out, const plat::TDBGrid& grid);
};

} // namespace gerscript
