// Work posted from other threads reaches the UI thread through the loop.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "test_support.h"

namespace skinui {
namespace {

class ThreadTest : public testing::HeadlessTest {};

TEST_F(ThreadTest, WorkerPostsReachTheUiThread) {
  testing::TestWindow window(L"form.xml");
  ASSERT_TRUE(window.Open(false));
  const std::thread::id ui = std::this_thread::get_id();
  std::atomic<bool> task_on_ui{false};
  std::thread::id notify_thread;
  int posted_messages = 0;

  struct Counter : IMessageFilter {
    std::intptr_t MessageFilter(std::uint32_t msg, std::uintptr_t, std::intptr_t lparam,
                                bool& handled) override {
      if (msg == kWmUser + 1000) {
        ++*count;
        last = lparam;
        handled = true;
      }
      return 0;
    }
    int* count;
    std::intptr_t last = 0;
  } counter;
  counter.count = &posted_messages;
  window.AddMessageFilter(&counter);
  window.OnNotification(L"checknet", [&](const Notification&) {
    notify_thread = std::this_thread::get_id();
    window.Close(5);
  });

  Control* root = window.FindControl(L"root");
  std::thread worker([&] {
    for (int i = 1; i <= 100; ++i) window.PostMessage(kWmUser + 1000, 0, i);
    Backend::Current().PostTask([&] { task_on_ui = std::this_thread::get_id() == ui; });
    window.PostNotify(L"checknet", root, 0x10000);
  });
  EXPECT_EQ(window.ShowModal(), 5);
  worker.join();
  window.RemoveMessageFilter(&counter);
  EXPECT_EQ(posted_messages, 100);
  EXPECT_EQ(counter.last, 100);
  EXPECT_TRUE(task_on_ui);
  EXPECT_EQ(notify_thread, ui);
}

}  // namespace
}  // namespace skinui
