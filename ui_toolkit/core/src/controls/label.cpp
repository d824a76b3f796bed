#include "skinui/core/label.h"

#include "skinui/core/attribute_parse.h"
#include "skinui/painter/canvas.h"

namespace skinui {

namespace {
constexpr Argb kDefaultTextColor = 0xFF000000;
constexpr Argb kDefaultDisabledColor = 0xFFA7A6AA;
}  // namespace

void* Label::GetInterface(std::wstring_view name) {
  if (EqualsNoCase(name, std::wstring_view(L"Label"))) return this;
  return Control::GetInterface(name);
}

Argb Label::CurrentTextColor() const {
  if (!IsEnabled()) return disabled_text_color_ != 0 ? disabled_text_color_ : kDefaultDisabledColor;
  return text_color_ != 0 ? text_color_ : kDefaultTextColor;
}

void Label::PaintText(Canvas& canvas) {
  if (text_.empty() || Host() == nullptr) return;
  const auto font = Host()->FontById(CurrentFont());
  canvas.DrawText(Pos().Deflate(text_padding_), text_, *font, CurrentTextColor(), text_style_);
}

}  // namespace skinui
