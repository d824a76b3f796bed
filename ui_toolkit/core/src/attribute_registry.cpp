#include "skinui/core/attribute_registry.h"

#include "skinui/core/attribute_parse.h"

namespace skinui {

void AttributeRegistry::Add(std::string_view name, Setter setter) {
  setters_[ToLowerAscii(name)] = std::move(setter);
}

const AttributeRegistry::Setter* AttributeRegistry::Find(std::string_view name) const {
  const std::string key = ToLowerAscii(name);
  for (const AttributeRegistry* r = this; r != nullptr; r = r->parent_) {
    const auto it = r->setters_.find(key);
    if (it != r->setters_.end()) return &it->second;
  }
  return nullptr;
}

}  // namespace skinui
