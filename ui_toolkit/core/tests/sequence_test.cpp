// Frame order of the image-sequence controls, on the real control timer.
#include <gtest/gtest.h>

#include "skinui/core/sequence_controls.h"
#include "test_support.h"

namespace skinui {
namespace {

// The frame index each step shows (-1: stopped), from a fresh state.
std::vector<int> Steps(SequenceState s, int n) {
  std::vector<int> shown;
  for (int i = 0; i < n; ++i) {
    std::string path;
    const SequenceStep step = StepSequence(&s, &path);
    if (step == SequenceStep::kStopped) {
      shown.push_back(-1);
      break;
    }
    shown.push_back(std::stoi(path));
  }
  return shown;
}

TEST(Sequence, FrameOrderTable) {
  struct Case {
    const char* what;
    bool loop;
    bool round;
    int count;
    std::vector<int> expected;
  } cases[] = {
      {"bounce", true, true, 5, {0, 1, 2, 3, 4, 3, 2, 1, 0, 1, 2, 3, 4, 3}},
      {"loop", true, false, 5, {0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0}},
      {"once", false, false, 5, {0, 1, 2, 3, 4, -1}},
      {"bounce once", false, true, 3, {0, 1, 2, 1, -1}},
      {"one frame", true, false, 1, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SequenceState s;
    s.SequenceImage = "%d";
    s.SequenceLoop = c.loop;
    s.SequenceRound = c.round;
    s.SequenceCount = c.count;
    EXPECT_EQ(Steps(s, static_cast<int>(c.expected.size())), c.expected) << c.what;
  }
  SequenceState idle;  // no pattern: nothing happens
  std::string path;
  EXPECT_EQ(StepSequence(&idle, &path), SequenceStep::kIdle);
}

TEST(Sequence, PathFormattingAndBooleans) {
  EXPECT_EQ(FormatFramePath("res\\mainWnd\\installBtnAnimate\\%.3d.png", 0),
            "res\\mainWnd\\installBtnAnimate\\000.png");
  EXPECT_EQ(FormatFramePath("f%03u_%%.png", 12), "f012_%.png");
  EXPECT_EQ(FormatFramePath("%d-%d", 4), "4-%d");
  EXPECT_EQ(FormatFramePath("100%%/%d", 7), "100%/7");
  EXPECT_EQ(FormatFramePath("plain.png", 3), "plain.png");
  EXPECT_EQ(FormatFramePath(std::string(300, 'a') + "%d", 1).size(), 259u);
  EXPECT_TRUE(NotExactlyFalse("False"));
  EXPECT_TRUE(NotExactlyFalse("0"));
  EXPECT_TRUE(NotExactlyFalse(""));
  EXPECT_FALSE(NotExactlyFalse("false"));
}

class SequenceWindow : public testing::HeadlessTest {};

TEST_F(SequenceWindow, AutoStartStepsOnTimer2100AndBounces) {
  testing::TestWindow window(L"form.xml");
  ASSERT_TRUE(window.Open());
  auto* anim = static_cast<CSequenceLabel*>(window.FindControl(L"anim"));
  ASSERT_NE(anim, nullptr);
  EXPECT_TRUE(anim->IsPlaying());
  std::vector<std::string> shown;
  for (int i = 0; i < 10; ++i) {
    backend().AdvanceClock(30);
    shown.push_back(anim->BkImage());
  }
  const std::vector<std::string> expected = {
      "img\\frames\\000.png", "img\\frames\\001.png", "img\\frames\\002.png",
      "img\\frames\\003.png", "img\\frames\\004.png", "img\\frames\\003.png",
      "img\\frames\\002.png", "img\\frames\\001.png", "img\\frames\\000.png",
      "img\\frames\\001.png"};
  EXPECT_EQ(shown, expected);
  // Each timer event is also a "timer" notification with the control's id.
  EXPECT_EQ(window.Count(L"timer"), 10);
  EXPECT_EQ(window.seen.back().wparam, kSequenceTimerId);

  // The owner stops it by killing timer 2100 on the control.
  anim->KillTimer(kSequenceTimerId);
  backend().AdvanceClock(300);
  EXPECT_EQ(anim->BkImage(), "img\\frames\\001.png");
  anim->StartAnimation();
  backend().AdvanceClock(30);
  EXPECT_EQ(anim->BkImage(), "img\\frames\\000.png");
}

TEST_F(SequenceWindow, WithoutLoopTheTimerStops) {
  testing::TestWindow window(L"form.xml");
  ASSERT_TRUE(window.Open());
  auto* anim = static_cast<CSequenceLabel*>(window.FindControl(L"anim"));
  ASSERT_NE(anim, nullptr);
  anim->SetAttribute("sequenceloop", "false");
  anim->SetAttribute("sequenceround", "false");
  backend().AdvanceClock(30 * 5);
  EXPECT_EQ(anim->BkImage(), "img\\frames\\004.png");
  backend().AdvanceClock(30);
  EXPECT_FALSE(anim->IsPlaying());
  const int timers = window.Count(L"timer");
  backend().AdvanceClock(300);
  EXPECT_EQ(window.Count(L"timer"), timers);
}

}  // namespace
}  // namespace skinui
