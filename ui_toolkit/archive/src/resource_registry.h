// The process-wide table of linked-in resources behind FindResourceBytes.
// Any thread (locked).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "skinui/archive/resource.h"

namespace skinui::detail {

std::optional<ResourceBytes> FindRegisteredResource(std::wstring_view type_name, int id);

// L"#<id>", the name form of a numeric resource type.
std::wstring NumericTypeName(int type_id);

}  // namespace skinui::detail
