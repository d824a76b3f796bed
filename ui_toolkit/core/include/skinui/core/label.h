// Label: a control that draws its text (font, colour, alignment, text
// padding, multi-line) over its background. CLabelControl is the name other
// parts of the installer derive from.
//
// Threads: UI thread only.
#pragma once

#include "skinui/core/control.h"

namespace skinui {

class Label : public Control {
 public:
  std::wstring_view GetClass() const override { return L"Label"; }
  void* GetInterface(std::wstring_view name) override;

 protected:
  void PaintText(Canvas& canvas) override;
  // The colour and font for the current state (overridden by buttons).
  virtual Argb CurrentTextColor() const;
  virtual int CurrentFont() const { return font_; }
};

using CLabelControl = Label;

}  // namespace skinui
