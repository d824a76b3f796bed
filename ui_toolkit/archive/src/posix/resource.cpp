// Resources elsewhere than Windows: the bytes skinui_embed_resource() links
// into the executable, registered before main() runs.
#include "skinui/archive/resource.h"

#include "../resource_registry.h"

namespace skinui {

std::optional<ResourceBytes> FindResourceBytes(std::wstring_view type_name, int id) {
  try {
    return detail::FindRegisteredResource(type_name, id);
  } catch (...) {  // out of memory building the key
    return std::nullopt;
  }
}

std::optional<ResourceBytes> FindResourceBytes(int type_id, int id) {
  try {
    return detail::FindRegisteredResource(detail::NumericTypeName(type_id), id);
  } catch (...) {
    return std::nullopt;
  }
}

// One registry serves the whole process here; there are no modules to pick.
void SetResourceModule(void*) {}

}  // namespace skinui
