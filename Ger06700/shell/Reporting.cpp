// How the screen's checks point the user at a fault: the catalogue message shown as an error,
// the grid column of the offending field.
#include "core/Abort.h"
#include "shared/Consiste.h"
#include "shell/FormPgto.h"

namespace ger06700 {

void TfrmFormPgto::Report(const std::string& key) {
    plat::MensErro(msgPadrao.Msg(key), true);
    plat::Abort(); // not reached: MensErro with its flag set raises the silent abort
}

void TfrmFormPgto::Report(const std::string& pattern, const std::string& word) {
    plat::MensErro(plat::Format(msgPadrao.Msg(pattern), msgPadrao.Msg(word)), true);
    plat::Abort();
}

void TfrmFormPgto::SelectColumn(plat::TDBGrid& grid, const std::string& fieldName) {
    grid.SetSelectedIndex(plat::IndiceCol(grid, fieldName));
}

} // namespace ger06700
