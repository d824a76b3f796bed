#include "skinui/core/progress.h"

#include "skinui/core/attribute_parse.h"
#include "skinui/painter/canvas.h"

namespace skinui {

struct ProgressAttributes {
  static Progress& P(Control& c) { return static_cast<Progress&>(c); }
  static bool Min(Control& c, std::string_view v) {
    int n = 0;
    if (!ParseIntValue(v, &n)) return false;
    P(c).SetMinValue(n);
    return true;
  }
  static bool Max(Control& c, std::string_view v) {
    int n = 0;
    if (!ParseIntValue(v, &n)) return false;
    P(c).SetMaxValue(n);
    return true;
  }
  static bool ValueAttr(Control& c, std::string_view v) {
    int n = 0;
    if (!ParseIntValue(v, &n)) return false;
    P(c).SetValue(n);
    return true;
  }
  static bool Hor(Control& c, std::string_view v) { return ParseBoolValue(v, &P(c).horizontal_); }
  static bool Stretch(Control& c, std::string_view v) {
    return ParseBoolValue(v, &P(c).stretch_fore_);
  }
  static bool Fore(Control& c, std::string_view v) {
    P(c).fore_image_ = std::string(v);
    return true;
  }
};

void* Progress::GetInterface(std::wstring_view name) {
  if (EqualsNoCase(name, std::wstring_view(L"Progress"))) return this;
  return Label::GetInterface(name);
}

const AttributeRegistry& Progress::ClassAttributes() {
  static const AttributeRegistry registry = [] {
    using A = ProgressAttributes;
    AttributeRegistry r(&Control::ClassAttributes());
    r.Add("min", A::Min);
    r.Add("max", A::Max);
    r.Add("value", A::ValueAttr);
    r.Add("hor", A::Hor);
    r.Add("isstretchfore", A::Stretch);
    r.Add("foreimage", A::Fore);
    return r;
  }();
  return registry;
}

const AttributeRegistry& Progress::Attributes() const { return ClassAttributes(); }

void Progress::SetMinValue(int v) {
  min_ = v;
  if (max_ < min_) max_ = min_;
  SetValue(value_);
  Invalidate();
}

void Progress::SetMaxValue(int v) {
  max_ = v;
  if (min_ > max_) min_ = max_;
  SetValue(value_);
  Invalidate();
}

void Progress::SetValue(int v) {
  v = std::min(std::max(v, min_), max_);
  if (v == value_) return;
  value_ = v;
  Invalidate();
}

Rect Progress::ForeRect() const {
  Rect r = Pos();
  const long long range = static_cast<long long>(max_) - min_;
  if (range <= 0) return Rect{r.left, r.top, r.left, r.bottom};
  const long long done = static_cast<long long>(value_) - min_;
  if (horizontal_) {
    r.right = r.left + static_cast<int>(done * r.Width() / range);
  } else {
    r.top = r.bottom - static_cast<int>(done * r.Height() / range);
  }
  return r;
}

void Progress::PaintStatusImage(Canvas& canvas) {
  if (fore_image_.empty()) return;
  const Rect fore = ForeRect();
  if (fore.IsEmpty()) return;
  if (stretch_fore_) {
    DrawImage(canvas, fore_image_, fore);
    return;
  }
  canvas.PushClip(fore);
  DrawImage(canvas, fore_image_);
  canvas.PopClip();
}

}  // namespace skinui
