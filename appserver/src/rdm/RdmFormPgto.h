#pragma once
#include "rdm/DeltaPacket.h"
#include "storage/Storage.h"

#include <nlohmann/json.hpp>
#include <string>

namespace ger {

/// The remote data module "Ger06700.rdmFormPgto": the six methods the payment-term screen
/// calls, over one storage session. Arguments come as a positional JSON array.
class RdmFormPgto {
public:
    /// The name clients put before the method name ("Ger06700.rdmFormPgto.GetDiaPgto").
    static constexpr const char* kServerName = "Ger06700.rdmFormPgto";

    explicit RdmFormPgto(Storage& storage) : storage_(storage) {}

    /// True for the methods that change stored data; they must run inside a write
    /// transaction or savepoint, which keeps all of a delta or none of it.
    static bool Writes(const std::string& method);

    /// Runs a Get method with params; returns the JSON text of its data packet.
    /// Throws RpcError: MethodNotFound, InvalidParams; StorageError passes through.
    std::string Call(const std::string& method, const nlohmann::json& params);
    /// Runs a Set method with its change log, already read and checked; returns the JSON text
    /// of its result, null. Throws RpcError: MethodNotFound, Refused; StorageError passes through.
    std::string Apply(const std::string& method, const DeltaPacket& delta);

    std::string GetFormPgto();
    std::string GetDiaPgto(const std::string& code);
    std::string GetVerCdForm(const std::string& code);
    std::string GetPeriodo(const std::string& code);
    void SetFormPgto(const DeltaPacket& delta);
    void SetDiaPgto(const DeltaPacket& delta);

private:
    Storage& storage_;
};

} // namespace ger
