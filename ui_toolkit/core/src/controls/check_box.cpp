#include "skinui/core/check_box.h"

#include "skinui/core/attribute_parse.h"
#include "skinui/painter/canvas.h"

namespace skinui {

struct CheckBoxAttributes {
  static bool SelectedAttr(Control& c, std::string_view v) {
    return ParseBoolValue(v, &static_cast<CheckBox&>(c).selected_);
  }
  static bool SelectedImage(Control& c, std::string_view v) {
    static_cast<CheckBox&>(c).selected_image_ = std::string(v);
    return true;
  }
  static bool SelectedHotImage(Control& c, std::string_view v) {
    static_cast<CheckBox&>(c).selected_hot_image_ = std::string(v);
    return true;
  }
};

void* CheckBox::GetInterface(std::wstring_view name) {
  if (EqualsNoCase(name, std::wstring_view(L"CheckBox")) ||
      EqualsNoCase(name, std::wstring_view(L"Option")))
    return this;
  return Button::GetInterface(name);
}

const AttributeRegistry& CheckBox::ClassAttributes() {
  static const AttributeRegistry registry = [] {
    AttributeRegistry r(&Button::ClassAttributes());
    r.Add("selected", CheckBoxAttributes::SelectedAttr);
    r.Add("selectedimage", CheckBoxAttributes::SelectedImage);
    r.Add("selectedhotimage", CheckBoxAttributes::SelectedHotImage);
    return r;
  }();
  return registry;
}

const AttributeRegistry& CheckBox::Attributes() const { return ClassAttributes(); }

void CheckBox::Selected(bool selected, bool notify) {
  if (selected == selected_) return;
  selected_ = selected;
  Invalidate();
  if (notify) Notify(L"selectchanged", selected ? 1 : 0);
}

void CheckBox::Activate() {
  const std::weak_ptr<void> alive = LifetimeToken();
  Button::Activate();
  if (alive.expired()) return;  // the "click" handler removed this check box
  Selected(!selected_, true);
}

void CheckBox::PaintStatusImage(Canvas& canvas) {
  if (!IsEnabled() && !disabled_image_.empty()) {
    DrawImage(canvas, disabled_image_);
    return;
  }
  if (selected_) {
    if ((state_ & kStateHot) != 0 && !selected_hot_image_.empty()) {
      DrawImage(canvas, selected_hot_image_);
    } else if (!selected_image_.empty()) {
      DrawImage(canvas, selected_image_);
    }
    return;
  }
  Button::PaintStatusImage(canvas);
}

Argb CheckBox::CurrentTextColor() const {
  if (selected_ && IsEnabled() && selected_text_color_ != 0) return selected_text_color_;
  return Button::CurrentTextColor();
}

}  // namespace skinui
