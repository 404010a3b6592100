// Fuzzes decoding delta packets and whole calls: any JSON text, read under the request limits,
// is decoded for both tables and checked as the arguments of every method. Refusals are
// RpcError; anything else escaping, or a decoded row of the wrong width, is a fault.
#include "guard/BoundedJsonParser.h"
#include "guard/RequestValidator.h"
#include "rdm/DeltaPacket.h"
#include "rdm/TableDef.h"
#include "rpc/RpcError.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ger::RequestLimits limits;
    auto parsed = ger::BoundedJsonParser(limits).Parse(text);
    if (parsed.outcome != ger::BoundedJsonParser::Outcome::Parsed) return 0;
    for (const ger::TableDef* table : {&ger::FormPgtoTable(), &ger::DiaPgtoTable()}) {
        try {
            auto delta = ger::DeltaPacket::Parse(parsed.value, *table);
            for (const auto& change : delta.changes) {
                const bool hasOld = change.op != ger::DeltaOp::Insert;
                const bool hasNew = change.op != ger::DeltaOp::Delete;
                if ((hasOld && change.oldRow.size() != table->fields.size()) ||
                    (hasNew && change.newRow.size() != table->fields.size()))
                    std::abort();
            }
        } catch (const ger::RpcError&) {
        }
    }
    const ger::RequestValidator validator(limits);
    for (const char* method : {"GetFormPgto", "GetDiaPgto", "SetFormPgto", "SetDiaPgto", "Nope"}) {
        try {
            validator.Check(std::string("Ger06700.rdmFormPgto.") + method, parsed.value);
            validator.Check(std::string("Ger06700.rdmFormPgto.") + method,
                            nlohmann::json::array({parsed.value}));
        } catch (const ger::RpcError&) {
        }
    }
    return 0;
}
