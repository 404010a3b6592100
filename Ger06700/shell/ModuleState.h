#pragma once
#include <string>

namespace ger06700 {

class TfrmFormPgto;

// State shared by every instance of the screen for as long as the module is loaded. The names
// are exported unmangled so the host and its tools find them as the module's own.
extern "C" {
/// The screen's form instance.
extern TfrmFormPgto* frmFormPgto;
/// A form instance exists.
extern bool boIdCriado;
/// The payment-term list has not been fetched yet.
extern bool boPrimVez;
/// The schedule of the current term is being cleared because its period type changed.
extern bool boDelete;
/// The master grid is the grid the user works in.
extern bool boTestaGrid;
/// Exported with the others; nothing sets or reads it after module initialization.
extern bool boPost;
}
/// Code of the term current when the last save succeeded, to find it again after a reload.
extern std::string stFormPgto;

/// Module initialization: runs once per load, before any entry call.
void InitializeUnit();
/// Module finalization: runs once per unload.
void FinalizeUnit();

} // namespace ger06700
