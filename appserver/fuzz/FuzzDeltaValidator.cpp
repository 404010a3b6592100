// Fuzzes the checks on delta values: the input chooses a well-shaped delta (every column, any
// field order, any operations) and the values in its rows, so every run reaches the value
// checks. Whatever the checks let through must be storable: texts of valid UTF-8 without NUL
// within their width, numbers finite, whole and in range, codes in their tables, the term
// code present; a value equal to the one read is let through as the client read it.
#include "guard/RequestLimits.h"
#include "guard/RequestValidator.h"
#include "guard/Utf8Text.h"
#include "rdm/DeltaPacket.h"
#include "rdm/TableDef.h"
#include "rpc/RpcError.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <numeric>

namespace {

using nlohmann::json;

json Value(FuzzedDataProvider& input, const ger::FieldDef& field) {
    switch (input.ConsumeIntegralInRange(0, 6)) {
    case 0:
        return nullptr;
    case 1:
        return input.ConsumeRandomLengthString(40);
    case 2: // a text the column accepts, often
        if (!field.codes.empty())
            return input.PickValueInArray({field.codes.front(), field.codes.back()});
        return input.ConsumeBytesAsString(static_cast<std::size_t>(std::max(field.size, 1)));
    case 3:
        return input.ConsumeIntegralInRange<int>(-20, 1100);
    case 4:
        return input.ConsumeFloatingPoint<double>();
    case 5:
        return input.ConsumeBool();
    default:
        return json::array({input.ConsumeIntegral<int>()});
    }
}

json Row(FuzzedDataProvider& input, const ger::TableDef& table,
         const std::vector<std::size_t>& order) {
    json row = json::array();
    for (std::size_t column : order)
        row.push_back(Value(input, table.fields[column]));
    return row;
}

bool Storable(const ger::FieldDef& field, const json& value) {
    if (value.is_null()) return !field.required;
    if (field.type == ger::FieldType::Float) {
        if (!value.is_number()) return false;
        const double number = value.get<double>();
        return std::isfinite(number) && std::floor(number) == number && number >= field.minimum &&
               number <= field.maximum;
    }
    if (!value.is_string()) return false;
    const std::string& text = value.get_ref<const std::string&>();
    if (!ger::Utf8Text::IsAcceptable(text)) return false;
    if (ger::Utf8Text::Characters(text) > static_cast<std::size_t>(field.size)) return false;
    if (field.required && text.find_first_not_of(" \t") == std::string::npos) return false;
    return field.codes.empty() ||
           std::find(field.codes.begin(), field.codes.end(), text) != field.codes.end();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const bool terms = input.ConsumeBool();
    const ger::TableDef& table = terms ? ger::FormPgtoTable() : ger::DiaPgtoTable();
    std::vector<std::size_t> order(table.fields.size());
    std::iota(order.begin(), order.end(), 0);
    for (std::size_t i = order.size(); i > 1; --i)
        std::swap(order[i - 1], order[input.ConsumeIntegralInRange<std::size_t>(0, i - 1)]);

    json fields = json::array();
    for (std::size_t column : order)
        fields.push_back({{"name", table.fields[column].name}});
    json changes = json::array();
    const int count = input.ConsumeIntegralInRange(0, 4);
    for (int i = 0; i < count; ++i) {
        const int op = input.ConsumeIntegralInRange(0, 2);
        json change = {{"op", op == 0 ? "insert" : op == 1 ? "update" : "delete"}};
        if (op != 0) change["old"] = Row(input, table, order);
        if (op != 2) {
            json newRow = Row(input, table, order);
            // Updates often keep some values as read, as the screen's do.
            if (op == 1)
                for (std::size_t c = 0; c < order.size(); ++c)
                    if (input.ConsumeBool()) newRow[c] = change["old"][c];
            change["new"] = newRow;
        }
        changes.push_back(change);
    }
    const json packet = {{"fields", fields}, {"changes", changes}};

    try {
        ger::RequestValidator(ger::RequestLimits{})
            .CheckDelta(terms ? "SetFormPgto" : "SetDiaPgto", packet);
    } catch (const ger::RpcError&) {
        return 0;
    }
    // Accepted: every new value is storable or the very value read.
    for (const auto& change : changes) {
        if (!change.contains("new")) continue;
        for (std::size_t c = 0; c < order.size(); ++c) {
            const json& value = change["new"][c];
            const bool unchanged = change.contains("old") && change["old"][c] == value;
            const auto& field = table.fields[order[c]];
            if (!Storable(field, value) && !unchanged) std::abort();
            if (unchanged && !value.is_null() && !Storable(field, value)) {
                // A kept value still needs the right kind and acceptable text.
                const bool kindOk = field.type == ger::FieldType::Float
                                        ? value.is_number() && std::isfinite(value.get<double>())
                                        : value.is_string() &&
                                              ger::Utf8Text::IsAcceptable(value.get<std::string>());
                if (!kindOk) std::abort();
            }
        }
    }
    return 0;
}
