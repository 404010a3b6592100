#include "base/PadraoGrid.h"

#include "data/ClientDataSet.h"

namespace plat {

namespace {

// The host's standard texts.
constexpr const char* kStandardMessages = "Excl|Confirma exclusão?\n"
                                          "Canc|Cancelar operação?\n"
                                          "Grav|Confirma gravação?\n"
                                          "Sair|Deseja sair?\n";

template <class T> T& Child(TComponent& owner, TControl& parent, const char* name) {
    T& control = owner.Create<T>(name);
    control.SetParent(&parent);
    return control;
}

} // namespace

TfrmPadraoGrid::TfrmPadraoGrid(TComponent* owner, std::string name)
    : TForm(owner, std::move(name)), mnuMenu(Create<TMenuItem>("mnuMenu")),
      mnuArquivo(Child<TMenuItem>(*this, mnuMenu, "mnuArquivo")),
      mnuListagem(Child<TMenuItem>(*this, mnuArquivo, "mnuListagem")),
      mnuConfigImpressora(Child<TMenuItem>(*this, mnuArquivo, "mnuConfigImpressora")),
      mnuOperacao(Child<TMenuItem>(*this, mnuMenu, "mnuOperacao")),
      mnuIncluir(Child<TMenuItem>(*this, mnuOperacao, "mnuIncluir")),
      mnuAlterar(Child<TMenuItem>(*this, mnuOperacao, "mnuAlterar")),
      mnuExcluir(Child<TMenuItem>(*this, mnuOperacao, "mnuExcluir")),
      mnuCopiar(Child<TMenuItem>(*this, mnuOperacao, "mnuCopiar")),
      mnuVerificar(Child<TMenuItem>(*this, mnuOperacao, "mnuVerificar")),
      mnuConfirmar(Child<TMenuItem>(*this, mnuOperacao, "mnuConfirmar")),
      mnuCancelar(Child<TMenuItem>(*this, mnuOperacao, "mnuCancelar")),
      pmnNavegar(Create<TMenuItem>("pmnNavegar")),
      psdConfigurar(Create<TPrinterSetupDialog>("psdConfigurar")),
      prdImprimir(Create<TPrintDialog>("prdImprimir")),
      panNavigator(Child<TPanel>(*this, *this, "panNavigator")),
      sbtIncluir(Child<TSpeedButton>(*this, panNavigator, "sbtIncluir")),
      sbtAlterar(Child<TSpeedButton>(*this, panNavigator, "sbtAlterar")),
      sbtExcluir(Child<TSpeedButton>(*this, panNavigator, "sbtExcluir")),
      sbtCopiar(Child<TSpeedButton>(*this, panNavigator, "sbtCopiar")),
      sbtVerificar(Child<TSpeedButton>(*this, panNavigator, "sbtVerificar")),
      sbtConfirmar(Child<TSpeedButton>(*this, panNavigator, "sbtConfirmar")),
      sbtCancelar(Child<TSpeedButton>(*this, panNavigator, "sbtCancelar")),
      sbtImprimir(Child<TSpeedButton>(*this, panNavigator, "sbtImprimir")),
      dbnPadrao(Child<TDBNavigator>(*this, panNavigator, "dbnPadrao")),
      dbtNome(Child<TDBText>(*this, panNavigator, "dbtNome")),
      lblCodTela(Child<TLabel>(*this, panNavigator, "lblCodTela")),
      pgcPadrao(Child<TPageControl>(*this, *this, "pgcPadrao")),
      tshPadrao(Child<TTabSheet>(*this, pgcPadrao, "tshPadrao")),
      panDbgPadrao(Child<TPanel>(*this, tshPadrao, "panDbgPadrao")),
      scbFolhaDados(Child<TScrollBox>(*this, panDbgPadrao, "scbFolhaDados")),
      dbgPadrao(Child<TDBGrid>(*this, scbFolhaDados, "dbgPadrao")),
      dtsPadrao(Create<TDataSource>("dtsPadrao")), msgPadrao(Create<TMessages>("msgPadrao")),
      msgMensagensPadroes(Create<TMessages>("msgMensagensPadroes")) {
    mnuMenu.SetCaption("Menu");
    mnuArquivo.SetCaption("&Arquivo");
    mnuListagem.SetCaption("&Listagem");
    mnuConfigImpressora.SetCaption("&Configurar Impressora");
    mnuOperacao.SetCaption("&Operação");
    const std::pair<TSpeedButton*, TMenuItem*> commands[] = {
        {&sbtIncluir, &mnuIncluir},  {&sbtAlterar, &mnuAlterar},     {&sbtExcluir, &mnuExcluir},
        {&sbtCopiar, &mnuCopiar},    {&sbtVerificar, &mnuVerificar}, {&sbtConfirmar, &mnuConfirmar},
        {&sbtCancelar, &mnuCancelar}};
    const char* captions[] = {"Incluir",   "Alterar",   "Excluir", "Copiar",
                              "Atualizar", "Confirmar", "Cancelar"};
    for (std::size_t i = 0; i < std::size(commands); ++i) {
        commands[i].first->SetCaption(captions[i]);
        commands[i].first->Hint = captions[i];
        commands[i].second->SetCaption(captions[i]);
    }
    sbtImprimir.SetCaption("Imprimir");
    panNavigator.Align = "top";
    pgcPadrao.Align = "client";
    panDbgPadrao.Align = "client";
    scbFolhaDados.Align = "client";
    dbgPadrao.Align = "top";
    dbgPadrao.SetDataSource(&dtsPadrao);
    dbnPadrao.SetDataSource(&dtsPadrao);
    dbtNome.SetDataSource(&dtsPadrao);
    msgMensagensPadroes.LoadFromText(kStandardMessages);
    FormStyle = TFormStyle::MDIChild;
    SetActiveControl(&dbgPadrao);
    sbtConfirmar.SetEnabled(false);
    sbtCancelar.SetEnabled(false);
    mnuConfirmar.SetEnabled(false);
    mnuCancelar.SetEnabled(false);
    Wire();
}

void TfrmPadraoGrid::Wire() {
    // Bound through lambdas so that a screen's overrides of the handlers take their place.
    OnClose = [this](TForm& s, TCloseAction& a) { FormClose(s, a); };
    OnKeyDown = [this](TForm& s, std::uint16_t& k, TShiftState sh) { FormKeyDown(s, k, sh); };
    dbgPadrao.OnKeyDown = [this](TControl& s, std::uint16_t& k, TShiftState sh) {
        dbgPadraoKeyDown(s, k, sh);
    };
    dbgPadrao.OnKeyPress = [this](TControl& s, std::string& k) { dbgPadraoKeyPress(s, k); };
    dtsPadrao.OnStateChange = [this](TDataSource& s) { dtsPadraoStateChange(s); };
    auto bind = [](TSpeedButton& button, TMenuItem& menu, auto handler) {
        button.OnClick = handler;
        menu.OnClick = handler;
    };
    bind(sbtIncluir, mnuIncluir, [this](TControl& s) { sbtIncluirClick(s); });
    bind(sbtAlterar, mnuAlterar, [this](TControl& s) { sbtAlterarClick(s); });
    bind(sbtExcluir, mnuExcluir, [this](TControl& s) { sbtExcluirClick(s); });
    bind(sbtCopiar, mnuCopiar, [this](TControl& s) { sbtCopiarClick(s); });
    bind(sbtVerificar, mnuVerificar, [this](TControl& s) { sbtVerificarClick(s); });
    bind(sbtConfirmar, mnuConfirmar, [this](TControl& s) { sbtConfirmarClick(s); });
    bind(sbtCancelar, mnuCancelar, [this](TControl& s) { sbtCancelarClick(s); });
}

void TfrmPadraoGrid::DoCreate() {
    FormCreate(*this);
    TForm::DoCreate();
}

void TfrmPadraoGrid::FormCreate(TForm&) {}

void TfrmPadraoGrid::FormClose(TForm&, TCloseAction& action) {
    action = TCloseAction::Free;
}

void TfrmPadraoGrid::FormKeyDown(TForm&, std::uint16_t&, TShiftState) {}
void TfrmPadraoGrid::dbgPadraoKeyDown(TControl&, std::uint16_t&, TShiftState) {}
void TfrmPadraoGrid::dbgPadraoKeyPress(TControl&, std::string&) {}

void TfrmPadraoGrid::dtsPadraoStateChange(TDataSource&) {
    const bool editing = IsEditing(dtsPadrao.State());
    sbtConfirmar.SetEnabled(editing);
    sbtCancelar.SetEnabled(editing);
    mnuConfirmar.SetEnabled(editing);
    mnuCancelar.SetEnabled(editing);
}

void TfrmPadraoGrid::sbtIncluirClick(TControl&) {
    if (TClientDataSet* ds = dtsPadrao.DataSet()) ds->Insert();
}

void TfrmPadraoGrid::sbtAlterarClick(TControl&) {
    TClientDataSet* ds = dtsPadrao.DataSet();
    if (!ds || ds->IsEmpty()) return;
    ds->Edit();
    dbgPadrao.SetFocus();
}

void TfrmPadraoGrid::sbtExcluirClick(TControl&) {
    TClientDataSet* ds = dtsPadrao.DataSet();
    if (!ds || ds->IsEmpty() || IsEditing(ds->State())) return;
    if (msgMensagensPadroes.ShowMsg("Excl", TMsgDlgType::Confirmation,
                                    {TMsgDlgBtn::Yes, TMsgDlgBtn::No}, 0) == TModalResult::Yes)
        ds->Delete();
}

void TfrmPadraoGrid::sbtCopiarClick(TControl&) {
    TClientDataSet* ds = dtsPadrao.DataSet();
    if (!ds || ds->IsEmpty() || IsEditing(ds->State())) return;
    std::vector<Value> values;
    for (TField* f : ds->Fields())
        values.push_back(f->GetValue());
    ds->Insert();
    const TField* key = nullptr;
    for (std::size_t i = 0; i < ds->Fields().size(); ++i) {
        TField* f = ds->Fields()[i];
        if (f->Tag == 1) {
            if (!key) key = f;
            continue;
        }
        f->SetValue(values[i]);
    }
    if (key) dbgPadrao.SetSelectedField(*key);
}

void TfrmPadraoGrid::sbtConfirmarClick(TControl&) {
    TClientDataSet* ds = dtsPadrao.DataSet();
    if (ds && IsEditing(ds->State())) ds->Post();
}

void TfrmPadraoGrid::sbtCancelarClick(TControl&) {
    TClientDataSet* ds = dtsPadrao.DataSet();
    if (ds && IsEditing(ds->State())) ds->Cancel();
}

void TfrmPadraoGrid::sbtVerificarClick(TControl&) {}

} // namespace plat
