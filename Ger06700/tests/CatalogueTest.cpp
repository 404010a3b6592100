// The screen's message catalogue msgPadrao as the loaded form carries it.
#include "ScreenFixture.h"

#include "shared/Consiste.h"

namespace {

using Entry = std::pair<std::string, std::string>;

// Every text the screen shows, in catalogue order; written out here on its own so that a
// changed or moved entry of the module's catalogue shows up.
const std::vector<Entry> kCatalogue{
    {"Excl", "Confirma exclusão?"},
    {"Canc", "Cancelar operação?"},
    {"Cod_inf", "Código deve ser informado."},
    {"Cod_cad", "Forma de pagamento já cadastrada."},
    {"Desc_inf", "Descrição deve ser informada."},
    {"DataBase_inf", "Data referência deve ser informada."},
    {"DiaFinal_inf", "Dia final do período deve ser informado."},
    {"DiaFinal_maior", "Dia final do período deve ser maior ou igual ao dia inicial do período."},
    {"DiaPgto_inf", "Dia de pagamento deve ser informado."},
    {"DiaPgto_menor_atual", "Dia de pagamento deve ser maior ou igual ao dia final do período."},
    {"DiaPgto_maior", "Dia %s deve estar entre 01 e 31."},
    {"Dafin", "Data da AF (Inclusive)"},
    {"Dafex", "Data da AF (Exclusive)"},
    {"Demin", "Data de Emissão da NF (Inclusive)"},
    {"Demex", "Data de Emissão da NF (Exclusive)"},
    {"Denin", "Data de Entrega da Mercadoria (Inclusive)"},
    {"Denex", "Data de Entrega da Mercadoria (Exclusive)"},
    {"Atual", "Atual"},
    {"Seguinte", "Seguinte"},
    {"DiaFin_menor_31", "O dia final do período deve ser 31."},
    {"DiaFin_menor_07", "O dia final do período deve ser sábado (07)."},
    {"DiaF_maior_zero", "Dia final do período deve ser maior que zero."},
    {"DiaF_Empty", "Dia final do período deve ser informado."},
    {"DiaPg_Empty", "Dia de pagamento deve ser informado."},
    {"DiaPg_maior_zero", "Dia de pagamento deve ser maior que zero."},
    {"DiaPgto_inv", "Dia %s informado deve estar entre 01 e 07."},
    {"Semana_inf", "Semana de pagamento deve ser informada."},
    {"Mes_inf", "Mês de pagamento deve ser informado."},
    {"Periodo_inf", "Período de pagamento deve ser informado."},
    {"Period_inf", "Período deve ser informado."},
    {"FinPeriodo", "final do período"},
    {"DiaPag", "de pagamento"},
    {"1", "Domingo"},
    {"2", "Segunda"},
    {"3", "Terça"},
    {"4", "Quarta"},
    {"5", "Quinta"},
    {"6", "Sexta"},
    {"7", "Sábado"},
    {"NumMes_Inf", "Número de meses deve ser informado."},
    {"NumMes_Inv", "Número de meses deve ser maior que zero."},
    {"Ddsin", "Data de Saída (Inclusive)"},
    {"Ddsex", "Data de Saída (Exclusive)"},
    {"SemPgto_inf", "Semana de pagamento deve ser informado."},
    {"Sem_maior", "Semana de pagamento deve estar entre 01 e 04."},
    {"1MesPost", "1º Mês Posterior"},
    {"2MesPost", "2º Mês Posterior"},
    {"3MesPost", "3º Mês Posterior"},
    {"4MesPost", "4º Mês Posterior"},
    {"5MesPost", "5º Mês Posterior"},
    {"6MesPost", "6º Mês Posterior"},
    {"7MesPost", "7º Mês Posterior"},
    {"8MesPost", "8º Mês Posterior"},
    {"9MesPost", "9º Mês Posterior"},
    {"10MesPost", "10º Mês Posterior"},
    {"NumSem_Inv", "Número de semanas deve ser maior que zero."},
    {"DiaI_maior_zero", "Dia inicial do período deve ser maior que zero."},
    {"DiaInicial_inf", "Dia inicial do período deve ser informado."},
    {"DiaI_Empty", "Dia inicial do período deve ser informado."},
    {"IniPeriodo", "Inicio do Período"},
    {"DIA_ATUALINI", "Dia de pagamento não deve ser menor que o dia inicial do período quando a "
                     "semana for a atual."},
    {"SEQINV", "Existem dias compreendidos no período informado que já foram cadastrados."},
    {"SEQDIAINV", "Esta data está compreendida em um período já cadastrado."},
    {"F_Dia", "Dia de Referência"},
    {"F_Semana", "Fora Semana"},
    {"F_Dezena", "Fora Dezena"},
    {"F_Quinzena", "Fora Quinzena"},
    {"F_Mes", "Fora Mês"},
    {"Ref_Inf", "Intervalo data referência deve ser informado."},
    {"Cons_Nao", "Não"},
    {"Cons_Sim", "Sim"},
    {"DiaUtil_Inf", "Considerar Dias úteis deve ser informado."},
};

TEST_F(ScreenTest, TheCatalogueHoldsEveryTextInOrder) {
    ASSERT_TRUE(IniProc());
    const plat::TMessages& catalogue = Form().msgPadrao;
    ASSERT_EQ(kCatalogue.size(), 72u);
    ASSERT_EQ(catalogue.Lines().size(), kCatalogue.size());
    for (std::size_t i = 0; i < kCatalogue.size(); ++i) {
        SCOPED_TRACE("entry " + std::to_string(i + 1));
        EXPECT_EQ(catalogue.Lines()[i], kCatalogue[i]);
    }
    // Keys are found whatever their letter case: the reference-interval check asks "Ref_inf".
    EXPECT_EQ(catalogue.Msg("Ref_inf"), kCatalogue[68].second);
}

TEST_F(ScreenTest, TheDayMessagesFillTheirPlaceholderWithTheWord) {
    ASSERT_TRUE(IniProc());
    const plat::TMessages& catalogue = Form().msgPadrao;
    const struct {
        const char* pattern;
        const char* word;
        const char* shown;
    } cases[] = {
        {"DiaPgto_maior", "FinPeriodo", "Dia final do período deve estar entre 01 e 31."},
        {"DiaPgto_maior", "IniPeriodo", "Dia Inicio do Período deve estar entre 01 e 31."},
        {"DiaPgto_maior", "DiaPag", "Dia de pagamento deve estar entre 01 e 31."},
        {"DiaPgto_inv", "FinPeriodo", "Dia final do período informado deve estar entre 01 e 07."},
        {"DiaPgto_inv", "IniPeriodo", "Dia Inicio do Período informado deve estar entre 01 e 07."},
        {"DiaPgto_inv", "DiaPag", "Dia de pagamento informado deve estar entre 01 e 07."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " + " + c.word);
        EXPECT_EQ(plat::Format(catalogue.Msg(c.pattern), catalogue.Msg(c.word)), c.shown);
    }
}

} // namespace
