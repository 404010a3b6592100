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

    // ---- Payment terms: editing and saving ----
    void cdsFormPgtoBeforeInsert(plat::TClientDataSet& dataSet);
    void cdsFormPgtoNewRecord(plat::TClientDataSet& dataSet);
    void cdsFormPgtoBeforePost(plat::TClientDataSet& dataSet);
    void cdsFormPgtoAfterPost(plat::TClientDataSet& dataSet);
    void cdsFormPgtoAfterDelete(plat::TClientDataSet& dataSet);
    void cdsFormPgtoAfterCancel(plat::TClientDataSet& dataSet);
    void sbtIncluirClick(plat::TControl& sender) override;
    void sbtConfirmarClick(plat::TControl& sender) override;
    void sbtCancelarClick(plat::TControl& sender) override;
    void sbtExcluirClick(plat::TControl& sender) override;
    // ---- end of payment terms: editing and saving ----

    // ---- Payment-day schedule: sending rows ----
    void cdsDiaPgtoBeforeInsert(plat::TClientDataSet& dataSet);
    void cdsDiaPgtoAfterInsert(plat::TClientDataSet& dataSet);
    void cdsDiaPgtoBeforePost(plat::TClientDataSet& dataSet);
    void cdsDiaPgtoAfterPost(plat::TClientDataSet& dataSet);
    void cdsDiaPgtoAfterDelete(plat::TClientDataSet& dataSet);
    // ---- end of payment-day schedule: sending rows ----

    // ---- Editing surface: period-type views ----
    void cdsFormPgtoIDTPPERIODOChange(plat::TField& sender);
    void cdsDiaPgtoAfterScroll(plat::TClientDataSet& dataSet);
    void dtsDiaPgtoStateChange(plat::TDataSource& sender);
    // ---- end of editing surface: period-type views ----

    // ---- Editing surface: grid focus and column exits ----
    void dbgPadraoColExit(plat::TControl& sender);
    void dbgPadraoEnter(plat::TControl& sender);
    void dbgPadraoExit(plat::TControl& sender);
    void dbgDiaPgtoColExit(plat::TControl& sender);
    void dbgDiaSemanaColExit(plat::TControl& sender);
    void dbgSemanaMesColExit(plat::TControl& sender);
    void dbgDiaPgtoEnter(plat::TControl& sender);
    void dbgDiaSemanaEnter(plat::TControl& sender);
    void dbgSemanaMesEnter(plat::TControl& sender);
    void dbgDiaPgtoExit(plat::TControl& sender);
    void dbgDiaSemanaExit(plat::TControl& sender);
    void dbgSemanaMesExit(plat::TControl& sender);
    /// Ends a term edit that only a day row started and that changed nothing, so the term is
    /// back in browse state without anything sent or asked.
    void EndUnchangedTermEdit();
    // ---- end of editing surface: grid focus and column exits ----

    // ---- Editing surface: command availability ----
    /// Enables the record commands and their menu entries for the grid the user works in.
    void HabilitaBotao();
    void dtsPadraoStateChange(plat::TDataSource& sender) override;
    // ---- end of editing surface: command availability ----

    // ---- Validation of payment terms and day rows, and the period overlap check ----
    // Each routine reads what the grid cell shows, typed text included. It returns normally
    // when the value passes; otherwise it shows one catalogue message, points the grid at the
    // offending field and ends the operation in progress by the silent abort. boObrigatorio is
    // true when the record is about to be stored: only then is a missing value an error.
    void Vd_CodForm(bool boObrigatorio);
    void Vd_DescForm(bool boObrigatorio);
    void Vd_DataBase(bool boObrigatorio);
    void Vd_DtReferencia(bool boObrigatorio);
    void Vd_ConsideraDiasUteis(bool boObrigatorio);
    void Vd_Periodo(bool boObrigatorio);
    void Vd_DiaFinal(bool boObrigatorio);
    void Vd_MesPgto(bool boObrigatorio);
    void Vd_NumMes(bool boObrigatorio);
    void Vd_DiaPgto(bool boObrigatorio);
    /// The day stValor of field stCampo of the current row against the term's stored periods.
    void Vd_Periodos(const std::string& stCampo, const std::string& stValor);
    /// One day nrDia of a stored period against the current row.
    void Vd_PeriodosAux(int nrDia, const std::string& stCampo, const std::string& stValor);

private:
    /// Shows the catalogue text of key as an error and ends the operation.
    [[noreturn]] void Report(const std::string& key);
    /// The same with the text of word put in place of the "%s" of pattern.
    [[noreturn]] void Report(const std::string& pattern, const std::string& word);
    /// A blank master-grid cell of field: an error only when boObrigatorio; on any failure
    /// the master grid is pointed at the field.
    void CheckTermCell(plat::TField& field, const char* key, bool boObrigatorio);
    /// The grid of the detail page on show; null for a page without one.
    plat::TDBGrid* ViewGrid();
    /// Selects the column of fieldName in grid.
    static void SelectColumn(plat::TDBGrid& grid, const std::string& fieldName);
    /// The tests of Vd_DiaFinal for the period day in field (initial or final).
    void CheckPeriodDay(plat::TDBGrid& grid, plat::TField& field, bool boObrigatorio);
    /// One stored period, the current record of cdsPeriodo, against the current row.
    void ComparePeriod(int lastDay, const std::string& stCampo, const std::string& stValor);
    /// Reports an overlap with the column of stCampo selected in the view's grid.
    [[noreturn]] void ReportOverlap(const std::string& key, const std::string& stCampo);
    // ---- end of validation ----

public:
    // ---- Editing surface: keyboard ----
    void FormKeyDown(plat::TForm& sender, std::uint16_t& key, plat::TShiftState shift) override;
    void dbgPadraoKeyDown(plat::TControl& sender, std::uint16_t& key,
                          plat::TShiftState shift) override;
    void dbgPadraoKeyPress(plat::TControl& sender, std::string& key) override;
    void dbgDiaPgtoKeyDown(plat::TControl& sender, std::uint16_t& key, plat::TShiftState shift);
    void dbgDiaSemanaKeyDown(plat::TControl& sender, std::uint16_t& key, plat::TShiftState shift);
    void dbgSemanaMesKeyDown(plat::TControl& sender, std::uint16_t& key, plat::TShiftState shift);
    void dbgDiaPgtoKeyPress(plat::TControl& sender, std::string& key);
    void dbgDiaSemanaKeyPress(plat::TControl& sender, std::string& key);
    void dbgSemanaMesKeyPress(plat::TControl& sender, std::string& key);

private:
    void AddKeyHandlers(plat::THandlerTable& table);
    /// Stores code into field for a key that names it; ch is the key's character.
    static void StoreByKey(plat::TClientDataSet& dataSet, plat::TField& field,
                           const std::string& code, std::string& ch);
    // ---- end of editing surface: keyboard ----

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
    void AddTermSavingHandlers(plat::THandlerTable& table);
    void AddPeriodViewHandlers(plat::THandlerTable& table);
    void AddGridFocusHandlers(plat::THandlerTable& table);
    /// What entering any of the day grids does.
    void EnterDayGrid();
    /// What leaving a day grid does; monthsChecked for the grids with a months column.
    void LeaveDayGrid(bool monthsChecked);
    /// The checks of a day-grid column being left, by the column and the grid's view.
    void CheckDayColumnLeft(plat::TDBGrid& grid, bool finalDayChecked);

    /// The period-type texts, the entries of the master grid's IDTPPERIODO pick list.
    const std::vector<std::string>& PeriodTypeTexts();
    /// Shows the detail page of a period type just chosen; other values keep the page.
    void ShowChosenPeriodTypePage(const std::string& periodType);
    /// Makes the period-end cells of the month grid editable only on the last row.
    void UpdateLastRowCells();
    /// A payment term or a day row is being edited or inserted.
    bool TermBeingEdited() const;
    bool DayRowBeingEdited() const;
    /// True while the last-row test steps through cdsDiaPgto.
    bool lookingAhead_ = false;

    // Initialized before the resource description loads, whose bindings already run handlers.
    bool built_ = false;
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
