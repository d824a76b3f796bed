// Progress bar: "bkimage" under "foreimage", which covers the share
// (value - min) / (max - min) of the width. With "isstretchfore" true (the
// default) the fore image is stretched into that share; false draws it at
// the bar's full size and clips it to the share.
//
// Threads: UI thread only.
#pragma once

#include <string>

#include "skinui/core/label.h"

namespace skinui {

class Progress : public Label {
 public:
  std::wstring_view GetClass() const override { return L"Progress"; }
  void* GetInterface(std::wstring_view name) override;
  const AttributeRegistry& Attributes() const override;
  static const AttributeRegistry& ClassAttributes();

  int MinValue() const { return min_; }
  int MaxValue() const { return max_; }
  int Value() const { return value_; }
  void SetMinValue(int v);
  void SetMaxValue(int v);
  // Clamped to min..max.
  void SetValue(int v);
  // The part of the bar the fore image covers now.
  Rect ForeRect() const;

 protected:
  void PaintStatusImage(Canvas& canvas) override;

 private:
  friend struct ProgressAttributes;
  int min_ = 0;
  int max_ = 100;
  int value_ = 0;
  bool horizontal_ = true;
  bool stretch_fore_ = true;
  std::string fore_image_;
};

}  // namespace skinui
