#pragma once
#include "base/PadraoGrid.h"
#include "data/ClientDataSet.h"
#include "net/NetConnection.h"
#include "resource/HandlerTable.h"
#include "shared/ADOIBQuery.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace ger06700 {

/// The "Forma de Pagamento" screen: payment terms in the master grid, the payment days of
/// the current term in the detail grid of its period type.
class TfrmFormPgto : public plat::TfrmPadraoGrid {
public:
    TfrmFormPgto(plat::TComponent* owner, std::string name);
    ~TfrmFormPgto() override;

    // Life of the form.
    void FormCreate(plat::TForm& sender) override;
    void FormActivate(plat::TForm& sender);
    void FormClose(plat::TForm& sender, plat::TCloseAction& action) override;

    // Server link.
    void netFormPgtoBeforeConnect(plat::TNetConnection& sender);
    void sbtVerificarClick(plat::TControl& sender) override;
    void cdsFormPgtoAfterScroll(plat::TClientDataSet& dataSet);
    void cdsDiaPgtoAfterOpen(plat::TClientDataSet& dataSet);

    std::optional<std::string> InspectValue(const std::string& name) const override;

private:
    bool LoadResource();
    plat::THandlerTable Handlers();
    /// Calls a method of the remote data module and checks its result; returns the data part.
    nlohmann::json CallServer(const std::string& method, const nlohmann::json& args);
    /// Fills dataSet with the packet a Get method returns.
    void LoadFromServer(plat::TClientDataSet& dataSet, const std::string& method,
                        const nlohmann::json& args);
    /// Reads the highest stored final day of the current term into stMaxDiaFin.
    void ReadMaxDiaFin();
    /// Shows the detail page of the current term's period type.
    void ShowPeriodTypePage();

    bool loaded_;

public:
    // Components the resource description adds, in its order.
    plat::TSplitter& splDivisao;
    plat::TPanel& panDivisao;
    plat::TNotebook& nbkDiasPgto;
    plat::TDBGrid& dbgDiaPgto;
    plat::TDBGrid& dbgDiaSemana;
    plat::TDBGrid& dbgSemanaMes;
    plat::TDataSource& dtsDiaPgto;
    plat::TClientDataSet& cdsFormPgto;
    plat::TNetConnection& netFormPgto;
    plat::TClientDataSet& cdsDiaPgto;
    plat::TClientDataSet& cdsVerCodForm;
    plat::TADOIBQuery& qryMaxDiaFin;
    plat::TClientDataSet& cdsPeriodo;
    plat::TDataSource& dtsPeriodo;

    plat::TField& cdsFormPgtoCDFORMPGTO;
    plat::TField& cdsFormPgtoNMFORMPGTO;
    plat::TField& cdsFormPgtoIDTIPODTPGTO;
    plat::TField& cdsFormPgtoIDREFECALCPARC;
    plat::TField& cdsFormPgtoIDTPPERIODO;
    plat::TField& cdsFormPgtoIDCONSDIAUTIL;
    plat::TField& cdsFormPgtoIDVRIGUALPARC;
    plat::TField& cdsDiaPgtoCDFORMPGTO;
    plat::TField& cdsDiaPgtoNRDIAINIPGTO;
    plat::TField& cdsDiaPgtoNRDIAFINPGTO;
    plat::TField& cdsDiaPgtoNRDIAPGTOVAR;
    plat::TField& cdsDiaPgtoNRMESFORMPGT;
    plat::TField& cdsDiaPgtoNRNUMMESPGTO;
    plat::TField& cdsDiaPgtoNRDIAPGTOSEMANA;

private:
    /// Highest final day of the current term's schedule ("05", "31"; empty: no rows).
    std::string stMaxDiaFin;
};

} // namespace ger06700
