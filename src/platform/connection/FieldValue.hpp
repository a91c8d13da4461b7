#pragma once

#include <optional>
#include <string>

namespace skorvin::ado {

// A field's value as GBK text; NULL is kept apart from the empty text.
using FieldValue = std::optional<std::string>;

} // namespace skorvin::ado
