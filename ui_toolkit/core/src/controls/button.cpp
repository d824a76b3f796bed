#include "skinui/core/button.h"

#include "skinui/core/attribute_parse.h"
#include "skinui/painter/canvas.h"
#include "skinui/painter/text.h"

namespace skinui {

struct ButtonAttributes {
  template <std::string Button::*Field>
  static bool Image(Control& c, std::string_view v) {
    static_cast<Button&>(c).*Field = std::string(v);
    return true;
  }
};

Button::Button() { text_style_ = kTextSingleLine | kTextVCenter | kTextCenter; }

void* Button::GetInterface(std::wstring_view name) {
  if (EqualsNoCase(name, std::wstring_view(L"Button"))) return this;
  return Label::GetInterface(name);
}

const AttributeRegistry& Button::ClassAttributes() {
  static const AttributeRegistry registry = [] {
    using A = ButtonAttributes;
    AttributeRegistry r(&Control::ClassAttributes());
    r.Add("normalimage", A::Image<&Button::normal_image_>);
    r.Add("hotimage", A::Image<&Button::hot_image_>);
    r.Add("pushedimage", A::Image<&Button::pushed_image_>);
    r.Add("disabledimage", A::Image<&Button::disabled_image_>);
    r.Add("focusedimage", A::Image<&Button::focused_image_>);
    return r;
  }();
  return registry;
}

const AttributeRegistry& Button::Attributes() const { return ClassAttributes(); }

void Button::DoEvent(const UiEvent& event) {
  switch (event.type) {
    case EventType::kButtonDown:
    case EventType::kDoubleClick:
      if (IsEnabled() && Pos().Contains(event.point)) {
        state_ |= kStateCaptured;
        SetStateBit(kStatePushed, true);
      }
      return;
    case EventType::kMouseMove:
      if ((state_ & kStateCaptured) != 0) SetStateBit(kStatePushed, Pos().Contains(event.point));
      return;
    case EventType::kButtonUp:
      if ((state_ & kStateCaptured) == 0) return;
      state_ &= ~kStateCaptured;
      SetStateBit(kStatePushed, false);
      if (IsEnabled() && Pos().Contains(event.point)) Activate();
      return;
    default:
      Label::DoEvent(event);
  }
}

void Button::Activate() { Notify(L"click"); }

void Button::PaintStatusImage(Canvas& canvas) {
  const std::string* image = &normal_image_;
  if (!IsEnabled()) {
    image = &disabled_image_;
  } else if ((state_ & kStatePushed) != 0 && !pushed_image_.empty()) {
    image = &pushed_image_;
  } else if ((state_ & kStateHot) != 0 && !hot_image_.empty()) {
    image = &hot_image_;
  } else if (IsFocused() && !focused_image_.empty()) {
    image = &focused_image_;
  }
  if (!image->empty()) DrawImage(canvas, *image);
}

Argb Button::CurrentTextColor() const {
  if (IsEnabled()) {
    if ((state_ & kStatePushed) != 0 && pushed_text_color_ != 0) return pushed_text_color_;
    if ((state_ & kStateHot) != 0 && hot_text_color_ != 0) return hot_text_color_;
  }
  return Label::CurrentTextColor();
}

int Button::CurrentFont() const {
  if ((state_ & kStatePushed) != 0 && pushed_font_ >= 0) return pushed_font_;
  if ((state_ & kStateHot) != 0 && hot_font_ >= 0) return hot_font_;
  return font_;
}

}  // namespace skinui
