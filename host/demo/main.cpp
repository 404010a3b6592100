// A small tour of the headless object model: a form with a master grid and a detail grid
// over two client datasets, driven as a user would drive it, printed as text.
#include "app/Application.h"
#include "data/ClientDataSet.h"
#include "data/DataSource.h"
#include "ui/DBGrid.h"
#include "ui/Form.h"

#include <iostream>

using namespace plat;

namespace {

void Print(const TDBGrid& grid) {
    std::cout << grid.Name() << " (column "
              << (grid.SelectedField() ? grid.SelectedField()->FieldName() : "-") << ")\n";
    for (int r = 0; r < grid.RowCount(); ++r) {
        std::cout << (r == grid.CurrentRow() ? "* " : "  ");
        for (int c = 0; c < grid.ColumnCount(); ++c)
            std::cout << (c ? " | " : "") << grid.CellText(r, c);
        std::cout << "\n";
    }
}

} // namespace

int main() {
    Application().Headless().OnRecord = [](const DialogRecord& r) {
        std::cout << (r.kind == DialogRecord::Kind::Error ? "error: " : "ask: ") << r.text << "\n";
    };
    TForm form(nullptr, "frmDemo");
    form.SetCaption("Clientes e pedidos");
    auto& customers = form.Create<TClientDataSet>("cdsClientes");
    auto& orders = form.Create<TClientDataSet>("cdsPedidos");
    auto& dtsCustomers = form.Create<TDataSource>("dtsClientes");
    auto& dtsOrders = form.Create<TDataSource>("dtsPedidos");
    dtsCustomers.SetDataSet(&customers);
    dtsOrders.SetDataSet(&orders);
    auto& dbgCustomers = form.Create<TDBGrid>("dbgClientes");
    auto& dbgOrders = form.Create<TDBGrid>("dbgPedidos");
    dbgCustomers.SetDataSource(&dtsCustomers);
    dbgOrders.SetDataSource(&dtsOrders);

    const nlohmann::json allOrders = {{"10", "01", 150.5}, {"11", "01", 80.0}, {"12", "02", 19.9}};
    customers.AfterScroll = [&](TClientDataSet& ds) {
        nlohmann::json rows = nlohmann::json::array();
        for (const auto& o : allOrders)
            if (o[1] == ds.FieldByName("CODIGO").AsString()) rows.push_back(o);
        orders.SetData({{"fields",
                         {{{"name", "PEDIDO"}, {"type", "string"}, {"size", 4}},
                          {{"name", "CLIENTE"}, {"type", "string"}, {"size", 2}},
                          {{"name", "VALOR"}, {"type", "float"}}}},
                        {"rows", rows}});
    };
    customers.SetData(
        {{"fields",
          {{{"name", "CODIGO"}, {"type", "string"}, {"size", 2}},
           {{"name", "NOME"}, {"type", "string"}, {"size", 30}}}},
         {"rows", nlohmann::json::array({nlohmann::json::array({"01", "Ana Souza"}),
                                         nlohmann::json::array({"02", "Bruno Lima"})})}});
    for (const char* f : {"CODIGO", "NOME"})
        dbgCustomers.AddColumn(f);
    for (const char* f : {"PEDIDO", "VALOR"})
        dbgOrders.AddColumn(f);
    form.SetActiveControl(&dbgCustomers);

    std::cout << "== " << form.Caption() << "\n";
    Print(dbgCustomers);
    Print(dbgOrders);

    std::cout << "== the user moves down and renames the customer\n";
    Application().Dispatch([&] { form.PressKey(VK_DOWN, {}); });
    Application().Dispatch([&] { form.PressKey(VK_RIGHT, {}); });
    Application().Dispatch([&] { form.TypeText("Bruno Lima Neto"); });
    Print(dbgCustomers);
    Application().Dispatch([&] { form.PressKey(VK_UP, {}); });
    Print(dbgCustomers);
    Print(dbgOrders);
    std::cout << "pending changes: " << customers.ChangeCount() << "\n"
              << "delta: " << customers.Delta().dump() << "\n";
    return 0;
}
