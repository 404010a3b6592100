#pragma once
#include "data/DataSource.h"
#include "shared/Messages.h"
#include "ui/Buttons.h"
#include "ui/DBControls.h"
#include "ui/DBGrid.h"
#include "ui/Form.h"

namespace plat {

/// Stand-ins for the print dialogs the base form carries; this host prints nothing.
class TPrinterSetupDialog : public TComponent {
public:
    using TComponent::TComponent;
};
class TPrintDialog : public TComponent {
public:
    using TComponent::TComponent;
};

/// The standard grid-maintenance form screens derive from: a command bar mirrored by the
/// Operação menu, a navigator panel, and a page holding the master grid over dtsPadrao.
///
/// Base behaviour, which a screen's handlers of the same names replace:
///  - Incluir inserts a row in the master dataset; Alterar puts the current row into edit and
///    focuses the master grid; Excluir asks "Excl" of msgMensagensPadroes and deletes the
///    current row; Copiar starts a new row holding the current row's values except the key
///    fields (fields whose Tag is 1), and selects the first key field's column; Confirmar
///    posts and Cancelar cancels the master dataset; Verificar does nothing.
///  - The confirm and cancel buttons and their menu entries are enabled exactly while the
///    master dataset is being edited or inserted.
///  - The list-dependent control is the navigator dbnPadrao; record commands 2 and 4 are
///    sbtAlterar and sbtCopiar.
///  - Closing frees the form; the key handlers leave every key to the screen.
///  - When the form opens, the master grid is its active control.
class TfrmPadraoGrid : public TForm {
public:
    TfrmPadraoGrid(TComponent* owner, std::string name);

    void DoCreate() override;

    virtual void FormCreate(TForm& sender);
    virtual void FormClose(TForm& sender, TCloseAction& action);
    virtual void FormKeyDown(TForm& sender, std::uint16_t& key, TShiftState shift);
    virtual void dbgPadraoKeyDown(TControl& sender, std::uint16_t& key, TShiftState shift);
    virtual void dbgPadraoKeyPress(TControl& sender, std::string& key);
    virtual void dtsPadraoStateChange(TDataSource& sender);
    virtual void sbtIncluirClick(TControl& sender);
    virtual void sbtAlterarClick(TControl& sender);
    virtual void sbtExcluirClick(TControl& sender);
    virtual void sbtCopiarClick(TControl& sender);
    virtual void sbtConfirmarClick(TControl& sender);
    virtual void sbtCancelarClick(TControl& sender);
    virtual void sbtVerificarClick(TControl& sender);

    /// The base form's record commands 2 and 4 and the control enabled while the list has rows.
    TSpeedButton& RecordCommand2() const { return sbtAlterar; }
    TSpeedButton& RecordCommand4() const { return sbtCopiar; }
    TControl& ListDependentControl() const { return dbnPadrao; }

    TMenuItem& mnuMenu;
    TMenuItem& mnuArquivo;
    TMenuItem& mnuListagem;
    TMenuItem& mnuConfigImpressora;
    TMenuItem& mnuOperacao;
    TMenuItem& mnuIncluir;
    TMenuItem& mnuAlterar;
    TMenuItem& mnuExcluir;
    TMenuItem& mnuCopiar;
    TMenuItem& mnuVerificar;
    TMenuItem& mnuConfirmar;
    TMenuItem& mnuCancelar;
    TMenuItem& pmnNavegar;
    TPrinterSetupDialog& psdConfigurar;
    TPrintDialog& prdImprimir;
    TPanel& panNavigator;
    TSpeedButton& sbtIncluir;
    TSpeedButton& sbtAlterar;
    TSpeedButton& sbtExcluir;
    TSpeedButton& sbtCopiar;
    TSpeedButton& sbtVerificar;
    TSpeedButton& sbtConfirmar;
    TSpeedButton& sbtCancelar;
    TSpeedButton& sbtImprimir;
    TDBNavigator& dbnPadrao;
    TDBText& dbtNome;
    TLabel& lblCodTela;
    TPageControl& pgcPadrao;
    TTabSheet& tshPadrao;
    TPanel& panDbgPadrao;
    TScrollBox& scbFolhaDados;
    TDBGrid& dbgPadrao;
    TDataSource& dtsPadrao;
    TMessages& msgPadrao;
    TMessages& msgMensagensPadroes;

private:
    void Wire();
};

} // namespace plat
