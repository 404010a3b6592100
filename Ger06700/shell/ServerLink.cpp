#include "shared/Consiste.h"
#include "shared/Showavi.h"
#include "shared/Vandrel.h"
#include "shell/FormPgto.h"

namespace ger06700 {

void TfrmFormPgto::netFormPgtoBeforeConnect(plat::TNetConnection&) {
    netFormPgto.Host = plat::WebURL();
    netFormPgto.Port = plat::WebPort();
}

nlohmann::json TfrmFormPgto::CallServer(const std::string& method, const nlohmann::json& args) {
    return plat::CheckResultServ(netFormPgto.AppServer().Call(method, args), true, 0);
}

void TfrmFormPgto::LoadFromServer(plat::TClientDataSet& dataSet, const std::string& method,
                                  const nlohmann::json& args) {
    dataSet.SetData(CallServer(method, args));
}

void TfrmFormPgto::ReadMaxDiaFin() {
    qryMaxDiaFin.Close();
    qryMaxDiaFin.ParamByName("P_CDFORMPGTO").SetAsString(cdsFormPgtoCDFORMPGTO.AsString());
    qryMaxDiaFin.Open();
    stMaxDiaFin = qryMaxDiaFin.FieldByName("NRDIAFINPGTO").AsString();
}

void TfrmFormPgto::sbtVerificarClick(plat::TControl&) {
    plat::ActiveShowAvi(nullptr, 6);
    try {
        LoadFromServer(cdsFormPgto, "GetFormPgto", nlohmann::json::array());
    } catch (...) {
        plat::DeactiveShowAvi();
        throw;
    }
    plat::DeactiveShowAvi();
    for (plat::TDBGrid* grid : {&dbgSemanaMes, &dbgDiaSemana, &dbgDiaPgto}) {
        if (!grid->Focused()) continue;
        if (grid->OnEnter) grid->OnEnter(*grid);
        cdsDiaPgto.Cancel();
        // Entering put the term into edit for the row; with the row dropped, the term is
        // back as stored.
        EndUnchangedTermEdit();
        break;
    }
}

void TfrmFormPgto::cdsFormPgtoAfterScroll(plat::TClientDataSet&) {
    LoadFromServer(cdsDiaPgto, "GetDiaPgto",
                   nlohmann::json::array({cdsFormPgtoCDFORMPGTO.AsString()}));
    ShowPeriodTypePage();
}

void TfrmFormPgto::cdsDiaPgtoAfterOpen(plat::TClientDataSet&) {
    ReadMaxDiaFin();
}

} // namespace ger06700
