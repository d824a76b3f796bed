#include "skinui/core/sequence_controls.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "skinui/core/attribute_parse.h"

namespace skinui {

namespace {

constexpr std::size_t kPathBuffer = 260;  // characters, the zero included

// Base-10 integer as the C library reads it: leading spaces and sign, then
// digits; anything else ends the number (an empty number is 0).
std::int32_t ReadBase10(std::string_view v) {
  const std::string text(v);
  return static_cast<std::int32_t>(std::strtol(text.c_str(), nullptr, 10));
}

// Applies one step's outcome to a control.
template <class C>
void ApplyStep(C* control, SequenceState* seq, bool* playing) {
  std::string path;
  switch (StepSequence(seq, &path)) {
    case SequenceStep::kIdle:
      return;
    case SequenceStep::kStopped:
      control->KillTimer(kSequenceTimerId);
      *playing = false;
      return;
    case SequenceStep::kShown:
      control->SetBkImage(std::move(path));
      control->Invalidate();
      return;
  }
}

}  // namespace

bool NotExactlyFalse(std::string_view value) { return value != "false"; }

std::string FormatFramePath(const std::string& pattern, std::uint32_t value) {
  std::string out;
  bool converted = false;  // one conversion only; later ones stay literal
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%') {
      out.push_back(pattern[i]);
      continue;
    }
    if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
      out.push_back('%');
      ++i;
      continue;
    }
    if (converted) {
      out.push_back('%');
      continue;
    }
    // %[flags][width][.precision]conversion with an integer conversion.
    std::size_t j = i + 1;
    while (j < pattern.size() && std::strchr("-+ 0#", pattern[j]) != nullptr) ++j;
    while (j < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[j]))) ++j;
    if (j < pattern.size() && pattern[j] == '.') {
      ++j;
      while (j < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[j]))) ++j;
    }
    if (j >= pattern.size() || std::strchr("diuxX", pattern[j]) == nullptr || j - i > 16) {
      out.push_back('%');  // not a conversion this formatter knows: kept as written
      continue;
    }
    const std::string spec = pattern.substr(i, j - i + 1);
    char buffer[64];
    if (pattern[j] == 'd' || pattern[j] == 'i') {
      std::snprintf(buffer, sizeof buffer, spec.c_str(), static_cast<int>(value));
    } else {
      std::snprintf(buffer, sizeof buffer, spec.c_str(), static_cast<unsigned>(value));
    }
    out += buffer;
    converted = true;
    i = j;
  }
  if (out.size() > kPathBuffer - 1) out.resize(kPathBuffer - 1);
  return out;
}

SequenceStep StepSequence(SequenceState* s, std::string* path) {
  if (s->SequenceImage.empty()) return SequenceStep::kIdle;
  const std::uint32_t last = static_cast<std::uint32_t>(s->SequenceCount - 1);
  if (s->Forward && s->Frame > last) {
    if (s->SequenceRound) {
      s->Forward = false;
      s->Frame = static_cast<std::uint32_t>(s->SequenceCount - 2);
    } else {
      s->Frame = 0;
      if (!s->SequenceLoop) return SequenceStep::kStopped;
    }
  }
  if (!s->Forward && s->Frame == 0) {
    if (s->SequenceRound) s->Forward = true;
    if (!s->SequenceLoop) return SequenceStep::kStopped;
  }
  *path = FormatFramePath(s->SequenceImage, s->Frame);
  s->Frame = s->Forward ? s->Frame + 1 : s->Frame - 1;
  return SequenceStep::kShown;
}

// --- SequenceControl ---------------------------------------------------------

template <class Base>
SequenceControl<Base>::~SequenceControl() {
  this->KillTimer(kSequenceTimerId);
}

template <class Base>
AttributeRegistry SequenceControl<Base>::MakeAttributes(const AttributeRegistry& base) {
  using Self = SequenceControl<Base>;
  AttributeRegistry r(&base);
  r.Add("sequencebkimage", [](Control& c, std::string_view v) {
    static_cast<Self&>(c).seq_.SequenceImage = std::string(v);
    return true;
  });
  r.Add("sequencecount", [](Control& c, std::string_view v) {
    static_cast<Self&>(c).seq_.SequenceCount = ReadBase10(v);
    return true;
  });
  r.Add("sequencespan", [](Control& c, std::string_view v) {
    static_cast<Self&>(c).seq_.SequenceSpan = ReadBase10(v);
    return true;
  });
  r.Add("sequenceloop", [](Control& c, std::string_view v) {
    static_cast<Self&>(c).seq_.SequenceLoop = NotExactlyFalse(v);
    return true;
  });
  r.Add("autostart", [](Control& c, std::string_view v) {
    static_cast<Self&>(c).seq_.AutoStart = NotExactlyFalse(v);
    return true;
  });
  r.Add("sequenceround", [](Control& c, std::string_view v) {
    static_cast<Self&>(c).seq_.SequenceRound = NotExactlyFalse(v);
    return true;
  });
  return r;
}

template <class Base>
void SequenceControl<Base>::Init() {
  Base::Init();
  if (seq_.AutoStart)
    playing_ = this->SetTimer(kSequenceTimerId, static_cast<unsigned>(seq_.SequenceSpan));
}

template <class Base>
void SequenceControl<Base>::StartAnimation() {
  seq_.Frame = 0;
  playing_ = this->SetTimer(kSequenceTimerId, static_cast<unsigned>(seq_.SequenceSpan));
}

template <class Base>
void SequenceControl<Base>::StopAnimation() {
  this->KillTimer(kSequenceTimerId);
  playing_ = false;
}

template <class Base>
void SequenceControl<Base>::DoEvent(const UiEvent& event) {
  Base::DoEvent(event);
  if (event.type == EventType::kTimer) ApplyStep(this, &seq_, &playing_);
}

template class SequenceControl<Label>;
template class SequenceControl<Button>;

// --- CSequenceLabel ----------------------------------------------------------

void* CSequenceLabel::GetInterface(std::wstring_view name) {
  if (EqualsNoCase(name, GetClass())) return this;
  return Label::GetInterface(name);
}

const AttributeRegistry& CSequenceLabel::ClassAttributes() {
  static const AttributeRegistry registry = MakeAttributes(Control::ClassAttributes());
  return registry;
}

const AttributeRegistry& CSequenceLabel::Attributes() const { return ClassAttributes(); }

// --- CSequenceButton ---------------------------------------------------------

CSequenceButton::CSequenceButton() {
  seq_.SequenceRound = true;
  seq_.SequenceSpan = 60;
}

void* CSequenceButton::GetInterface(std::wstring_view name) {
  if (EqualsNoCase(name, GetClass())) return this;
  return Button::GetInterface(name);
}

const AttributeRegistry& CSequenceButton::ClassAttributes() {
  static const AttributeRegistry registry = MakeAttributes(Button::ClassAttributes());
  return registry;
}

const AttributeRegistry& CSequenceButton::Attributes() const { return ClassAttributes(); }

}  // namespace skinui
