#include "skinui/core/attribute_parse.h"
#include "skinui/core/container.h"

namespace skinui {

struct TabAttributes {
  static bool SelectedId(Control& c, std::string_view v) {
    int index = 0;
    if (!ParseIntValue(v, &index) || index < 0) return false;
    static_cast<TabLayout&>(c).selected_ = index;
    return true;
  }
};

void* TabLayout::GetInterface(std::wstring_view name) {
  if (EqualsNoCase(name, std::wstring_view(L"TabLayout"))) return this;
  return Container::GetInterface(name);
}

const AttributeRegistry& TabLayout::ClassAttributes() {
  static const AttributeRegistry registry = [] {
    AttributeRegistry r(&Container::ClassAttributes());
    r.Add("selectedid", TabAttributes::SelectedId);
    return r;
  }();
  return registry;
}

const AttributeRegistry& TabLayout::Attributes() const { return ClassAttributes(); }

void TabLayout::Init() {
  Container::Init();
  if (selected_ >= Count()) selected_ = 0;
  ApplySelection();
}

void TabLayout::ApplySelection() {
  for (int i = 0; i < Count(); ++i) ItemAt(i)->SetVisible(i == selected_);
  if (Host() != nullptr) {
    Host()->NeedLayout();
    Host()->Invalidate(Pos());
  }
}

bool TabLayout::SelectItem(int index) {
  if (index < 0 || index >= Count()) return false;
  if (index == selected_) return true;
  const int previous = selected_;
  selected_ = index;
  ApplySelection();
  Notify(L"tabselect", static_cast<std::uintptr_t>(index), previous);
  return true;
}

}  // namespace skinui
