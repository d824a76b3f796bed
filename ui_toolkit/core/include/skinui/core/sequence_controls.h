// Image-sequence controls: a label (CSequenceLabel) and a button
// (CSequenceButton) whose background image steps through numbered PNG
// frames on control timer 2100 ("sequencebkimage" holds the path pattern
// with one integer conversion, such as "res\a\%.3d.png").
//
// Frame stepping on every timer event of the control (after the base
// control has handled it, which sends "timer"): forward past the last frame
// bounces back (SequenceRound) or starts over at 0, stopping there without
// SequenceLoop; backward at frame 0 turns forward again, stopping without
// SequenceLoop; otherwise the frame's path is formatted, becomes the
// background image, and the frame index moves one step.
//
// Threads: UI thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "skinui/core/button.h"
#include "skinui/core/label.h"

namespace skinui {

constexpr unsigned kSequenceTimerId = 2100;

// The sequence state both controls share, in field order.
struct SequenceState {
  std::string SequenceImage;
  bool AutoStart = false;
  bool SequenceLoop = true;
  bool Forward = true;
  bool SequenceRound = false;
  std::uint32_t Frame = 0;
  std::int32_t SequenceCount = 0;
  std::int32_t SequenceSpan = 30;
};

enum class SequenceStep {
  kIdle,     // no pattern: nothing happens
  kShown,    // *path holds the frame to show
  kStopped,  // the end without looping: the timer must be killed
};

// One step of the frame algorithm; fills *path for kShown.
SequenceStep StepSequence(SequenceState* state, std::string* path);
// `pattern` with its one integer conversion (%d, %.3d, %03u ...) replaced by
// `value`, cut to 259 characters; "%%" gives "%".
std::string FormatFramePath(const std::string& pattern, std::uint32_t value);
// Layout booleans of these controls: true unless the text is exactly "false".
bool NotExactlyFalse(std::string_view value);

// What both sequence controls add to their base (Label or Button): the
// sequence state, the timer 2100 it runs on, and the stepping on each timer
// event. Instantiated for Label and Button only.
template <class Base>
class SequenceControl : public Base {
 public:
  ~SequenceControl() override;

  void Init() override;
  void DoEvent(const UiEvent& event) override;
  // Frame := 0 and timer 2100 with the span.
  void StartAnimation();
  // True from a start until the timer is killed here (end without loop).
  bool IsPlaying() const { return playing_; }
  void StopAnimation();

  void SetSequenceImage(std::string pattern) { seq_.SequenceImage = std::move(pattern); }
  const std::string& GetSequenceImage() const { return seq_.SequenceImage; }
  void SetSequenceCount(std::int32_t n) { seq_.SequenceCount = n; }
  std::int32_t GetSequenceCount() const { return seq_.SequenceCount; }
  void SetSequenceSpan(std::int32_t ms) { seq_.SequenceSpan = ms; }
  std::int32_t GetSequenceSpan() const { return seq_.SequenceSpan; }
  const SequenceState& Sequence() const { return seq_; }

 protected:
  // The registry of the base's attributes plus the sequence attributes.
  static AttributeRegistry MakeAttributes(const AttributeRegistry& base);

  SequenceState seq_;
  bool playing_ = false;
};

extern template class SequenceControl<Label>;
extern template class SequenceControl<Button>;

class CSequenceLabel : public SequenceControl<Label> {
 public:
  std::wstring_view GetClass() const override { return L"SequenceLabel"; }
  void* GetInterface(std::wstring_view name) override;
  const AttributeRegistry& Attributes() const override;
  static const AttributeRegistry& ClassAttributes();
};

class CSequenceButton : public SequenceControl<Button> {
 public:
  CSequenceButton();
  std::wstring_view GetClass() const override { return L"SequenceButton"; }
  void* GetInterface(std::wstring_view name) override;
  const AttributeRegistry& Attributes() const override;
  static const AttributeRegistry& ClassAttributes();

 private:
  // Kept for the button's own look; no layout attribute sets them, and with
  // the offset at zero the text is drawn like any button's.
  Point text_offset_;
  std::string extra_images_[3];
  std::vector<std::wstring> extra_texts_;
};

}  // namespace skinui
