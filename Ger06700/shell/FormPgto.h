#pragma once
#include "base/PadraoGrid.h"
#include "data/ClientDataSet.h"
#include "net/NetConnection.h"
#include "resource/HandlerTable.h"
#include "shared/ADOIBQuery.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

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

    // ---- Payment terms: coded fields shown as texts ----
    void cdsFormPgtoIDTIPODTPGTOGetText(plat::TField& sender, std::string& text, bool displayText);
    void cdsFormPgtoIDTIPODTPGTOSetText(plat::TField& sender, const std::string& text);
    void cdsFormPgtoIDREFECALCPARCGetText(plat::TField& sender, std::string& text,
                                          bool displayText);
    void cdsFormPgtoIDREFECALCPARCSetText(plat::TField& sender, const std::string& text);
    void cdsFormPgtoIDCONSDIAUTILGetText(plat::TField& sender, std::string& text, bool displayText);
    void cdsFormPgtoIDCONSDIAUTILSetText(plat::TField& sender, const std::string& text);
    void cdsFormPgtoIDVRIGUALPARCGetText(plat::TField& sender, std::string& text, bool displayText);
    void cdsFormPgtoIDVRIGUALPARCSetText(plat::TField& sender, const std::string& text);
    void cdsFormPgtoIDTPPERIODOGetText(plat::TField& sender, std::string& text, bool displayText);
    void cdsFormPgtoIDTPPERIODOSetText(plat::TField& sender, const std::string& text);
    void cdsFormPgtoNMFORMPGTOSetText(plat::TField& sender, const std::string& text);
    // ---- end of payment terms: coded fields ----

    // ---- Payment-day schedule: day codes shown as texts ----
    void cdsDiaPgtoNRDIAINIPGTOGetText(plat::TField& sender, std::string& text, bool displayText);
    void cdsDiaPgtoNRDIAINIPGTOSetText(plat::TField& sender, const std::string& text);
    void cdsDiaPgtoNRDIAFINPGTOGetText(plat::TField& sender, std::string& text, bool displayText);
    void cdsDiaPgtoNRDIAFINPGTOSetText(plat::TField& sender, const std::string& text);
    void cdsDiaPgtoNRDIAPGTOVARGetText(plat::TField& sender, std::string& text, bool displayText);
    void cdsDiaPgtoNRDIAPGTOVARSetText(plat::TField& sender, const std::string& text);
    void cdsDiaPgtoNRMESFORMPGTGetText(plat::TField& sender, std::string& text, bool displayText);
    void cdsDiaPgtoNRMESFORMPGTSetText(plat::TField& sender, const std::string& text);
    void cdsDiaPgtoNRDIAPGTOSEMANAGetText(plat::TField& sender, std::string& text,
                                          bool displayText);
    void cdsDiaPgtoNRDIAPGTOSEMANASetText(plat::TField& sender, const std::string& text);
    // ---- end of payment-day schedule: day codes ----

    // ---- Payment-day schedule: sending rows ----
    void cdsDiaPgtoAfterDelete(plat::TClientDataSet& dataSet);
    // ---- end of payment-day schedule: sending rows ----

    // ---- Editing surface: period-type views ----
    void cdsFormPgtoIDTPPERIODOChange(plat::TField& sender);
    void cdsDiaPgtoAfterScroll(plat::TClientDataSet& dataSet);
    void dtsDiaPgtoStateChange(plat::TDataSource& sender);
    // ---- end of editing surface: period-type views ----

private:
    bool LoadResource();
    plat::THandlerTable Handlers();
    /// Calls a method of the remote data module and checks its result; returns the data part.
    nlohmann::json CallServer(const std::string& method, const nlohmann::json& args);
    /// Sends the change log of cdsDiaPgto, merges it and tells the local cache.
    void SendDiaPgtoChanges();
    /// Fills dataSet with the packet a Get method returns.
    void LoadFromServer(plat::TClientDataSet& dataSet, const std::string& method,
                        const nlohmann::json& args);
    /// Reads the highest stored final day of the current term into stMaxDiaFin.
    void ReadMaxDiaFin();
    /// Shows the detail page of the current term's period type.
    void ShowPeriodTypePage();

    // Handler bindings, one set per part of the screen.
    void AddTermTextHandlers(plat::THandlerTable& table);
    void AddDayTextHandlers(plat::THandlerTable& table);
    void AddDaySavingHandlers(plat::THandlerTable& table);
    void AddPeriodViewHandlers(plat::THandlerTable& table);

    /// The period-type texts, the entries of the master grid's IDTPPERIODO pick list.
    const std::vector<std::string>& PeriodTypeTexts();
    /// Shows the detail page of a period type just chosen; other values keep the page.
    void ShowChosenPeriodTypePage(const std::string& periodType);
    /// Makes the period-end cells of the month grid editable only on the last row.
    void UpdateLastRowCells();
    /// True while the last-row test steps through cdsDiaPgto.
    bool lookingAhead_ = false;

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
