// Utils::Thread: one callable on a new, named, initially suspended thread.
//
// Construction creates the thread suspended (a handle-less object when the
// system refuses); Resume starts the body; Join and the destructor wait for
// it without time limit. Destroying a Thread whose body still runs blocks
// until the body returns. A thread that was never resumed is released
// without running its body, so forgetting Resume cannot hang the owner.
//
// The entry routine logs "THREAD BEGIN" and "THREAD END" around the body;
// the body's result is ignored.
//
// Thread safety: created, resumed, joined and destroyed by one owner thread;
// only the body runs on the new thread. The argument must outlive the body.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace Utils {

class Thread {
 public:
  using Body = std::function<uint32_t(void*)>;

  Thread(void* argument, std::wstring name, Body body);
  ~Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  // True when a thread exists and was started.
  bool Resume();
  // Waits for the body, then forgets the thread: no handle, id all ones.
  void Join();

  bool Exists() const;
  uint32_t Id() const { return id_; }
  const std::wstring& Name() const { return name_; }
  // The name announced to debuggers: the name in the ANSI code page, or "t"
  // followed by the thread id when the name is empty.
  std::string DebuggerName() const;

  // Entry routine on the new thread: logs, runs the body, logs.
  static void CallBack(Thread* self);

  struct Platform;  // the system thread, defined per platform

 private:
  uint32_t id_ = 0xFFFFFFFFu;
  std::unique_ptr<Platform> platform_;
  Body body_;
  void* argument_;
  std::wstring name_;
};

}  // namespace Utils
