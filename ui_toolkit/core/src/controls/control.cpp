#include "skinui/core/control.h"

#include "skinui/core/attribute_parse.h"
#include "skinui/painter/canvas.h"
#include "skinui/painter/text.h"
#include "utils/text.h"

namespace skinui {

// The setters of the base attributes; a friend, so they reach private fields.
struct ControlAttributes {
  static bool Name(Control& c, std::string_view v) {
    c.name_ = Utils::Utf8ToWide(v);
    return true;
  }
  static bool Width(Control& c, std::string_view v) {
    int n = 0;
    if (!ParseIntValue(v, &n) || n < 0) return false;
    c.width_ = n;
    return true;
  }
  static bool Height(Control& c, std::string_view v) {
    int n = 0;
    if (!ParseIntValue(v, &n) || n < 0) return false;
    c.height_ = n;
    return true;
  }
  // Without "float" a position only fixes the size.
  static bool Pos(Control& c, std::string_view v) {
    Rect r;
    if (!ParseRectValue(v, &r)) return false;
    c.xml_pos_ = r;
    c.width_ = std::max(0, r.Width());
    c.height_ = std::max(0, r.Height());
    return true;
  }
  static bool Float(Control& c, std::string_view v) { return ParseBoolValue(v, &c.float_); }
  static bool PaddingAttr(Control& c, std::string_view v) { return ParseRectValue(v, &c.padding_); }
  static bool Visible(Control& c, std::string_view v) { return ParseBoolValue(v, &c.visible_); }
  static bool Enabled(Control& c, std::string_view v) { return ParseBoolValue(v, &c.enabled_); }
  static bool UserDataAttr(Control& c, std::string_view v) {
    c.userdata_ = Utils::Utf8ToWide(v);
    return true;
  }
};

// The remaining setters; members of the friend so they reach the fields.
struct ControlLook {
  template <Argb Control::*Field>
  static bool Color(Control& c, std::string_view v) {
    return ParseColorValue(v, &(c.*Field));
  }
  template <int Control::*Field>
  static bool Int(Control& c, std::string_view v) {
    return ParseIntValue(v, &(c.*Field));
  }
  static bool Align(Control& c, std::string_view v) {
    unsigned& s = c.text_style_;
    const unsigned kHorizontal = kTextCenter | kTextRight;
    if (EqualsNoCase(v, "left")) {
      s &= ~kHorizontal;
    } else if (EqualsNoCase(v, "center")) {
      s = (s & ~kHorizontal) | kTextCenter;
    } else if (EqualsNoCase(v, "right")) {
      s = (s & ~kHorizontal) | kTextRight;
    } else {
      return false;
    }
    return true;
  }
  static bool VAlign(Control& c, std::string_view v) {
    unsigned& s = c.text_style_;
    const unsigned kVertical = kTextVCenter | kTextBottom;
    if (EqualsNoCase(v, "top")) {
      s &= ~kVertical;
    } else if (EqualsNoCase(v, "center") || EqualsNoCase(v, "vcenter")) {
      s = (s & ~kVertical) | kTextVCenter;
    } else if (EqualsNoCase(v, "bottom")) {
      s = (s & ~kVertical) | kTextBottom;
    } else {
      return false;
    }
    return true;
  }
  static bool MultiLine(Control& c, std::string_view v) {
    bool on = false;
    if (!ParseBoolValue(v, &on)) return false;
    unsigned& s = c.text_style_;
    s = on ? ((s & ~kTextSingleLine) | kTextWordBreak) : ((s & ~kTextWordBreak) | kTextSingleLine);
    return true;
  }
  static bool EndEllipsis(Control& c, std::string_view v) {
    bool on = false;
    if (!ParseBoolValue(v, &on)) return false;
    c.text_style_ = on ? (c.text_style_ | kTextEndEllipsis) : (c.text_style_ & ~kTextEndEllipsis);
    return true;
  }
  static bool TextPadding(Control& c, std::string_view v) {
    return ParseRectValue(v, &c.text_padding_);
  }
  static bool BorderSize(Control& c, std::string_view v) {
    int n = 0;
    if (!ParseIntValue(v, &n) || n < 0) return false;
    c.border_size_ = n;
    return true;
  }
  static bool BorderRound(Control& c, std::string_view v) {
    return ParseSizeValue(v, &c.border_round_);
  }
  static bool BkImage(Control& c, std::string_view v) {
    c.SetBkImage(std::string(v));
    return true;
  }
  static bool Text(Control& c, std::string_view v) {
    c.SetText(Utils::Utf8ToWide(v));
    return true;
  }
  static bool Ignored(Control&, std::string_view) { return true; }
  static AttributeRegistry Make();
};

AttributeRegistry ControlLook::Make() {
  using L = ControlLook;
  using A = ControlAttributes;
  AttributeRegistry r;
  r.Add("name", A::Name);
  r.Add("width", A::Width);
  r.Add("height", A::Height);
  r.Add("pos", A::Pos);
  r.Add("float", A::Float);
  r.Add("padding", A::PaddingAttr);
  r.Add("visible", A::Visible);
  r.Add("enabled", A::Enabled);
  r.Add("userdata", A::UserDataAttr);
  r.Add("text", L::Text);
  r.Add("tooltip", L::Ignored);
  r.Add("font", L::Int<&Control::font_>);
  r.Add("hotfont", L::Int<&Control::hot_font_>);
  r.Add("pushedfont", L::Int<&Control::pushed_font_>);
  r.Add("align", L::Align);
  r.Add("valign", L::VAlign);
  r.Add("multiline", L::MultiLine);
  r.Add("endellipsis", L::EndEllipsis);
  r.Add("textpadding", L::TextPadding);
  r.Add("textcolor", L::Color<&Control::text_color_>);
  r.Add("disabledtextcolor", L::Color<&Control::disabled_text_color_>);
  r.Add("hottextcolor", L::Color<&Control::hot_text_color_>);
  r.Add("pushedtextcolor", L::Color<&Control::pushed_text_color_>);
  r.Add("selectedtextcolor", L::Color<&Control::selected_text_color_>);
  r.Add("bkcolor", L::Color<&Control::bkcolor_>);
  r.Add("hotbkcolor", L::Color<&Control::hot_bkcolor_>);
  r.Add("pushedbkcolor", L::Color<&Control::pushed_bkcolor_>);
  r.Add("bordercolor", L::Color<&Control::border_color_>);
  // Layouts write the hot border colour as "hotborercolor"; both spellings.
  r.Add("hotborercolor", L::Color<&Control::hot_border_color_>);
  r.Add("hotbordercolor", L::Color<&Control::hot_border_color_>);
  r.Add("bordersize", L::BorderSize);
  r.Add("borderround", L::BorderRound);
  r.Add("bkimage", L::BkImage);
  return r;
}

Control::Control() : text_style_(kTextVCenter | kTextSingleLine) {}

Control::~Control() {
  if (host_ != nullptr) host_->ControlRemoved(this);
}

void* Control::GetInterface(std::wstring_view name) {
  return EqualsNoCase(name, std::wstring_view(L"Control")) ? this : nullptr;
}

const AttributeRegistry& Control::ClassAttributes() {
  static const AttributeRegistry registry = ControlLook::Make();
  return registry;
}

const AttributeRegistry& Control::Attributes() const { return ClassAttributes(); }

AttributeResult Control::SetAttribute(std::string_view name, std::string_view value) {
  const AttributeRegistry::Setter* setter = Attributes().Find(name);
  if (setter == nullptr) return AttributeResult::kUnknown;
  return (*setter)(*this, value) ? AttributeResult::kOk : AttributeResult::kBadValue;
}

void Control::SetHost(ControlHost* host) { host_ = host; }

Control* Control::FindByName(std::wstring_view name) { return name_ == name ? this : nullptr; }

Control* Control::FindAt(Point p) { return visible_ && pos_.Contains(p) ? this : nullptr; }

void Control::Init() {}

void Control::SetFixedWidth(int w) {
  width_ = std::max(0, w);
  if (host_ != nullptr) host_->NeedLayout();
}

void Control::SetFixedHeight(int h) {
  height_ = std::max(0, h);
  if (host_ != nullptr) host_->NeedLayout();
}

void Control::SetPadding(const Rect& r) {
  padding_ = r;
  if (host_ != nullptr) host_->NeedLayout();
}

void Control::SetPos(const Rect& r) {
  if (r == pos_) return;
  Invalidate();
  pos_ = r;
  Invalidate();
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  if (host_ == nullptr) return;
  host_->NeedLayout();
  host_->Invalidate(pos_);
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (!enabled) state_ &= ~(kStateHot | kStatePushed | kStateCaptured);
  Invalidate();
}

void Control::SetText(std::wstring text) {
  if (text == text_) return;
  text_ = std::move(text);
  Invalidate();
}

void Control::SetBkImage(std::string description) {
  if (description == bkimage_) return;
  bkimage_ = std::move(description);
  Invalidate();
}

void Control::SetBkColor(Argb c) {
  bkcolor_ = c;
  Invalidate();
}

bool Control::SetTimer(unsigned id, unsigned ms) {
  return host_ != nullptr && host_->SetTimer(this, id, ms);
}

void Control::KillTimer(unsigned id) {
  if (host_ != nullptr) host_->KillTimer(this, id);
}

void Control::Invalidate() {
  if (host_ != nullptr && visible_ && !pos_.IsEmpty()) host_->Invalidate(pos_);
}

void Control::SetStateBit(unsigned bit, bool on) {
  const unsigned before = state_;
  state_ = on ? (state_ | bit) : (state_ & ~bit);
  if (state_ != before) Invalidate();
}

void Control::Notify(std::wstring_view type, std::uintptr_t wparam, std::intptr_t lparam) {
  if (host_ == nullptr) return;
  host_->SendNotify(Notification{std::wstring(type), this, wparam, lparam});
}

void Control::DoEvent(const UiEvent& event) {
  switch (event.type) {
    case EventType::kMouseEnter:
      if (enabled_) SetStateBit(kStateHot, true);
      break;
    case EventType::kMouseLeave:
      SetStateBit(kStateHot, false);
      break;
    case EventType::kSetFocus:
      SetStateBit(kStateFocused, true);
      break;
    case EventType::kKillFocus:
      SetStateBit(kStateFocused, false);
      break;
    case EventType::kTimer:
      Notify(L"timer", event.wparam);
      break;
    default:
      break;
  }
}

void Control::Paint(Canvas& canvas) {
  if (!visible_ || pos_.Intersect(canvas.Clip()).IsEmpty()) return;
  canvas.PushClip(pos_);
  PaintBkColor(canvas);
  PaintBkImage(canvas);
  PaintStatusImage(canvas);
  PaintText(canvas);
  PaintBorder(canvas);
  canvas.PopClip();
}

void Control::PaintBkColor(Canvas& canvas) {
  Argb colour = bkcolor_;
  if ((state_ & kStatePushed) != 0 && pushed_bkcolor_ != 0) {
    colour = pushed_bkcolor_;
  } else if ((state_ & kStateHot) != 0 && hot_bkcolor_ != 0) {
    colour = hot_bkcolor_;
  }
  if (colour == 0) return;
  if (border_round_.width > 0 || border_round_.height > 0) {
    canvas.FillRoundRect(pos_, border_round_, colour);
  } else {
    canvas.FillRect(pos_, colour);
  }
}

void Control::PaintBkImage(Canvas& canvas) {
  if (!bkimage_.empty()) DrawImage(canvas, bkimage_);
}

void Control::PaintStatusImage(Canvas&) {}

void Control::PaintText(Canvas&) {}

void Control::PaintBorder(Canvas& canvas) {
  if (border_size_ <= 0) return;
  const Argb colour =
      ((state_ & kStateHot) != 0 && hot_border_color_ != 0) ? hot_border_color_ : border_color_;
  if (colour != 0) canvas.DrawBorder(pos_, border_size_, colour, border_round_);
}

bool Control::DrawImage(Canvas& canvas, const std::string& description) {
  return DrawImage(canvas, description, pos_);
}

bool Control::DrawImage(Canvas& canvas, const std::string& description, const Rect& into) {
  if (host_ == nullptr || description.empty()) return false;
  return canvas.DrawImage(into, description, host_->Images());
}

}  // namespace skinui
