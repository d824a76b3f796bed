#include "skinui/core/attribute_parse.h"
#include "skinui/core/layout_builder.h"
#include "skinui/core/sequence_controls.h"

namespace skinui {

std::unique_ptr<Control> CreateStandardCustomControl(std::wstring_view class_name) {
  if (EqualsNoCase(class_name, std::wstring_view(L"SequenceLabel")))
    return std::make_unique<CSequenceLabel>();
  if (EqualsNoCase(class_name, std::wstring_view(L"SequenceButton")))
    return std::make_unique<CSequenceButton>();
  return nullptr;
}

}  // namespace skinui
