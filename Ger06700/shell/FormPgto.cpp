#include "shell/FormPgto.h"

#include "resource/FormResource.h"
#include "shared/Showavi.h"
#include "shell/ModuleState.h"
#include "shell/Resources.h"

namespace ger06700 {

namespace {

template <class T> T& Component(plat::TForm& form, const char* name) {
    auto* c = form.Find<T>(name);
    if (!c)
        throw plat::EDatabaseError(std::string("Recurso do formulário: falta o componente ") +
                                   name + ".");
    return *c;
}

} // namespace

TfrmFormPgto::TfrmFormPgto(plat::TComponent* owner, std::string name)
    : plat::TfrmPadraoGrid(owner, std::move(name)), loaded_(LoadResource()),
      splDivisao(Component<plat::TSplitter>(*this, "splDivisao")),
      panDivisao(Component<plat::TPanel>(*this, "panDivisao")),
      nbkDiasPgto(Component<plat::TNotebook>(*this, "nbkDiasPgto")),
      dbgDiaPgto(Component<plat::TDBGrid>(*this, "dbgDiaPgto")),
      dbgDiaSemana(Component<plat::TDBGrid>(*this, "dbgDiaSemana")),
      dbgSemanaMes(Component<plat::TDBGrid>(*this, "dbgSemanaMes")),
      dtsDiaPgto(Component<plat::TDataSource>(*this, "dtsDiaPgto")),
      cdsFormPgto(Component<plat::TClientDataSet>(*this, "cdsFormPgto")),
      netFormPgto(Component<plat::TNetConnection>(*this, "netFormPgto")),
      cdsDiaPgto(Component<plat::TClientDataSet>(*this, "cdsDiaPgto")),
      cdsVerCodForm(Component<plat::TClientDataSet>(*this, "cdsVerCodForm")),
      qryMaxDiaFin(Component<plat::TADOIBQuery>(*this, "qryMaxDiaFin")),
      cdsPeriodo(Component<plat::TClientDataSet>(*this, "cdsPeriodo")),
      dtsPeriodo(Component<plat::TDataSource>(*this, "dtsPeriodo")),
      cdsFormPgtoCDFORMPGTO(cdsFormPgto.FieldByName("CDFORMPGTO")),
      cdsFormPgtoNMFORMPGTO(cdsFormPgto.FieldByName("NMFORMPGTO")),
      cdsFormPgtoIDTIPODTPGTO(cdsFormPgto.FieldByName("IDTIPODTPGTO")),
      cdsFormPgtoIDREFECALCPARC(cdsFormPgto.FieldByName("IDREFECALCPARC")),
      cdsFormPgtoIDTPPERIODO(cdsFormPgto.FieldByName("IDTPPERIODO")),
      cdsFormPgtoIDCONSDIAUTIL(cdsFormPgto.FieldByName("IDCONSDIAUTIL")),
      cdsFormPgtoIDVRIGUALPARC(cdsFormPgto.FieldByName("IDVRIGUALPARC")),
      cdsDiaPgtoCDFORMPGTO(cdsDiaPgto.FieldByName("CDFORMPGTO")),
      cdsDiaPgtoNRDIAINIPGTO(cdsDiaPgto.FieldByName("NRDIAINIPGTO")),
      cdsDiaPgtoNRDIAFINPGTO(cdsDiaPgto.FieldByName("NRDIAFINPGTO")),
      cdsDiaPgtoNRDIAPGTOVAR(cdsDiaPgto.FieldByName("NRDIAPGTOVAR")),
      cdsDiaPgtoNRMESFORMPGT(cdsDiaPgto.FieldByName("NRMESFORMPGT")),
      cdsDiaPgtoNRNUMMESPGTO(cdsDiaPgto.FieldByName("NRNUMMESPGTO")),
      cdsDiaPgtoNRDIAPGTOSEMANA(cdsDiaPgto.FieldByName("NRDIAPGTOSEMANA")) {
    // The resource description leaves the week grid without exit handling; leaving it stores
    // the row and goes back to the code like the other day grids, or a typed row would be
    // lost silently when the user moves on to another term.
    dbgDiaSemana.OnExit = [this](plat::TControl& sender) { dbgDiaSemanaExit(sender); };
    built_ = true;
}

TfrmFormPgto::~TfrmFormPgto() {
    // The module-level reference must not outlive the form it names.
    if (frmFormPgto == this) frmFormPgto = nullptr;
}

bool TfrmFormPgto::LoadResource() {
    plat::LoadFormResource(*this, nlohmann::json::parse(ResourceFile("FormPgto.json")), Handlers(),
                           [](const std::string& file) { return ResourceFile(file); });
    return true;
}

plat::THandlerTable TfrmFormPgto::Handlers() {
    plat::THandlerTable table;
    table.Add<plat::TForm::NotifyEvent>("FormActivate",
                                        [this](plat::TForm& s) { FormActivate(s); });
    table.Add<std::function<void(plat::TNetConnection&)>>(
        "netFormPgtoBeforeConnect",
        [this](plat::TNetConnection& s) { netFormPgtoBeforeConnect(s); });
    table.Add<plat::TClientDataSet::Event>(
        "cdsFormPgtoAfterScroll", [this](plat::TClientDataSet& d) { cdsFormPgtoAfterScroll(d); });
    table.Add<plat::TClientDataSet::Event>(
        "cdsDiaPgtoAfterOpen", [this](plat::TClientDataSet& d) { cdsDiaPgtoAfterOpen(d); });
    AddTermTextHandlers(table);
    AddDayTextHandlers(table);
    AddDaySavingHandlers(table);
    AddTermSavingHandlers(table);
    AddPeriodViewHandlers(table);
    AddKeyHandlers(table);
    AddGridFocusHandlers(table);
    return table;
}

void TfrmFormPgto::FormCreate(plat::TForm& sender) {
    plat::TfrmPadraoGrid::FormCreate(sender);
    // Set before connecting: a failed connect is reported and the form lives on, fetching at
    // its next activation once the server is back, so it must not lack its key field or mask.
    stMaxDiaFin = "00";
    cdsFormPgtoCDFORMPGTO.Tag = 1;
    cdsFormPgtoIDTIPODTPGTO.SetEditMask(">l;0; ");
    plat::ActiveShowAvi(this, 0);
    try {
        netFormPgto.Open();
    } catch (...) {
        // The animation must not outlive a failed connect.
        plat::DeactiveShowAvi();
        throw;
    }
    plat::DeactiveShowAvi();
}

void TfrmFormPgto::FormActivate(plat::TForm&) {
    Repaint();
    if (boPrimVez) {
        LoadFromServer(cdsFormPgto, "GetFormPgto", nlohmann::json::array());
        boPrimVez = false;
    }
}

void TfrmFormPgto::FormClose(plat::TForm& sender, plat::TCloseAction& action) {
    netFormPgto.Close();
    boIdCriado = false;
    plat::TfrmPadraoGrid::FormClose(sender, action);
}

std::optional<std::string> TfrmFormPgto::InspectValue(const std::string& name) const {
    if (name == "stMaxDiaFin") return stMaxDiaFin;
    if (name == "boTestaGrid") return boTestaGrid ? "true" : "false";
    if (name == "boPrimVez") return boPrimVez ? "true" : "false";
    if (name == "boIdCriado") return boIdCriado ? "true" : "false";
    if (name == "boDelete") return boDelete ? "true" : "false";
    if (name == "stFormPgto") return stFormPgto;
    return std::nullopt;
}

} // namespace ger06700
