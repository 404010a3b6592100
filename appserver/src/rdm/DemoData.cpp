#include "rdm/DemoData.h"

#include "rdm/TableDef.h"
#include "storage/Transaction.h"

namespace ger {
namespace {

const SqlValue kNull{};

struct DemoTerm {
    std::vector<SqlValue> term;
    std::vector<std::vector<SqlValue>> days;
};

SqlValue T(const char* text) {
    return std::string(text);
}

// One term of each PeriodType and of the usual shapes: cash, 30/60 days, fortnights, tens of
// days, weekly, and a weekday of a week of the following month. Every schedule covers its
// days without overlaps and pays no earlier than the end of its period.
const std::vector<DemoTerm>& DemoTerms() {
    static const std::vector<DemoTerm> terms{
        {{T("01"), T("À vista"), T("EMIN"), T("DIA_DE_REFERENCIA"), T("M"), T("N"), T("S")},
         {{T("01"), T("01"), T("31"), T("31"), 0.0, kNull, T("00")}}},
        {{T("02"), T("30/60 dias"), T("EMIN"), T("DIA_DE_REFERENCIA"), T("M"), T("S"), T("S")},
         {{T("02"), T("01"), T("31"), T("10"), 1.0, 2.0, T("00")}}},
        {{T("03"), T("Quinzenal (dias 25 e 10)"), T("ENIN"), T("FORA_QUINZENA"), T("M"), T("S"),
          T("N")},
         {{T("03"), T("01"), T("15"), T("25"), 0.0, kNull, T("00")},
          {T("03"), T("16"), T("31"), T("10"), 1.0, 1.0, T("00")}}},
        {{T("04"), T("Fora dezena"), T("EMEX"), T("FORA_DEZENA"), T("M"), T("N"), T("N")},
         {{T("04"), T("01"), T("10"), T("20"), 0.0, kNull, T("00")},
          {T("04"), T("11"), T("20"), T("30"), 0.0, kNull, T("00")},
          {T("04"), T("21"), T("31"), T("10"), 1.0, 1.0, T("06")}}},
        {{T("05"), T("Semanal - sexta seguinte"), T("DSIN"), T("FORA_SEMANA"), T("S"), T("N"),
          T("S")},
         {{T("05"), T("01"), T("07"), T("06"), 1.0, kNull, kNull}}},
        {{T("06"), T("Semanal - quarta e sexta"), T("DSEX"), T("FORA_SEMANA"), T("S"), T("S"),
          T("N")},
         {{T("06"), T("01"), T("03"), T("04"), 0.0, kNull, kNull},
          {T("06"), T("04"), T("07"), T("06"), 1.0, kNull, kNull}}},
        {{T("07"), T("Segunda-feira do mês seguinte"), T("ENEX"), T("FORA_MES"), T("A"), T("N"),
          T("S")},
         {{T("07"), T("01"), T("15"), T("02"), 1.0, 2.0, kNull},
          {T("07"), T("16"), T("31"), T("02"), 1.0, 4.0, kNull}}},
    };
    return terms;
}

std::string InsertSql(const TableDef& table) {
    std::string marks;
    for (std::size_t i = 0; i < table.fields.size(); ++i)
        marks += i ? ", ?" : "?";
    return "INSERT INTO " + table.name + " (" + table.ColumnList() + ") VALUES (" + marks + ")";
}

} // namespace

bool DemoData::InsertIfEmpty(Storage& storage) {
    const SqlDialect& dialect = storage.Dialect();
    Transaction transaction(storage);
    // Checked inside the write transaction, so two servers started at once add them once.
    if (!storage.Query("SELECT 1 FROM FORMPGTO LIMIT 1").empty() ||
        !storage.Query("SELECT 1 FROM DIAPGTO LIMIT 1").empty())
        return false;
    const std::string insertTerm = dialect.Bind(InsertSql(FormPgtoTable()));
    const std::string insertDay = dialect.Bind(InsertSql(DiaPgtoTable()));
    for (const DemoTerm& demo : DemoTerms()) {
        storage.Execute(insertTerm, demo.term);
        for (const auto& day : demo.days)
            storage.Execute(insertDay, day);
    }
    transaction.Commit();
    return true;
}

} // namespace ger
