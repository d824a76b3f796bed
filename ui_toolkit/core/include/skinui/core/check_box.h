// Check box: a button that keeps a selected state. A click sends "click" and
// then toggles the state, which sends "selectchanged" (wparam = new state).
// Selected look: "selectedimage", "selectedhotimage", "selectedtextcolor".
//
// Threads: UI thread only.
#pragma once

#include "skinui/core/button.h"

namespace skinui {

class CheckBox : public Button {
 public:
  std::wstring_view GetClass() const override { return L"CheckBox"; }
  void* GetInterface(std::wstring_view name) override;
  const AttributeRegistry& Attributes() const override;
  static const AttributeRegistry& ClassAttributes();

  bool IsSelected() const { return selected_; }
  // Changes the state; with `notify`, a change sends "selectchanged".
  void Selected(bool selected, bool notify = true);
  void Activate() override;

 protected:
  void PaintStatusImage(Canvas& canvas) override;
  Argb CurrentTextColor() const override;

 private:
  friend struct CheckBoxAttributes;
  bool selected_ = false;
  std::string selected_image_;
  std::string selected_hot_image_;
};

}  // namespace skinui
