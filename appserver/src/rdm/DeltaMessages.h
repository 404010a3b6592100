#pragma once

namespace ger {

/// Refusals shared by the delta appliers, in the words the screen's users know.
inline constexpr const char* kChangedByAnotherUser =
    "Registro alterado ou excluído por outro usuário.";
inline constexpr const char* kTermAlreadyExists = "Forma de pagamento já cadastrada.";

} // namespace ger
