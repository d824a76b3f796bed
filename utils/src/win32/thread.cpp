// Utils::Thread on _beginthreadex (the C runtime's per-thread state is then
// set up for the body). The thread is created suspended; a thread that is
// joined before it was ever resumed is woken with a cancelled flag and
// leaves without running its body.
#include "utils/thread.h"

#include <windows.h>
#include <process.h>

#include <atomic>

#include "utils/text.h"

#include "module_lookup.h"

namespace Utils {

using win32::LookUp;

namespace {

// The classic way to name a thread for a debugger: an exception the
// debugger recognises. Without a debugger, or with one that passes it on,
// nobody would handle it, so a vectored handler swallows it (MinGW has no
// __try to do that locally).
constexpr DWORD kSetThreadNameException = 0x406D1388;

#pragma pack(push, 8)
struct ThreadNameInfo {
  DWORD type;        // 0x1000
  LPCSTR name;
  DWORD threadId;
  DWORD flags;       // 0
};
#pragma pack(pop)

LONG CALLBACK SwallowThreadName(EXCEPTION_POINTERS* info) {
  return info->ExceptionRecord->ExceptionCode == kSetThreadNameException
             ? EXCEPTION_CONTINUE_EXECUTION
             : EXCEPTION_CONTINUE_SEARCH;
}

void AnnounceName(HANDLE thread, DWORD threadId, const std::string& name) {
  // Windows 10 1607 and later keep a name with the thread itself.
  using SetThreadDescriptionFn = HRESULT(WINAPI*)(HANDLE, PCWSTR);
  if (const auto setDescription =
          LookUp<SetThreadDescriptionFn>(GetModuleHandleW(L"kernel32.dll"), "SetThreadDescription")) {
    setDescription(thread, MultiByteToWide(name, kCodePageAnsi).c_str());
  }
  if (!IsDebuggerPresent()) return;
  PVOID handler = AddVectoredExceptionHandler(1, SwallowThreadName);
  if (!handler) return;
  ThreadNameInfo info{0x1000, name.c_str(), threadId, 0};
  RaiseException(kSetThreadNameException, 0, sizeof info / sizeof(ULONG_PTR),
                 reinterpret_cast<const ULONG_PTR*>(&info));
  RemoveVectoredExceptionHandler(handler);
}

}  // namespace

struct Thread::Platform {
  HANDLE handle = nullptr;
  bool resumed = false;               // owner thread only
  std::atomic<bool> cancelled{false};  // set before the wake-up, read by the entry

  static unsigned __stdcall Entry(void* argument) {
    Thread* self = static_cast<Thread*>(argument);
    if (!self->platform_->cancelled.load()) CallBack(self);
    _endthreadex(0);
    return 0;
  }
};

Thread::Thread(void* argument, std::wstring name, Body body)
    : body_(std::move(body)), argument_(argument), name_(std::move(name)) {
  platform_ = std::make_unique<Platform>();
  unsigned id = 0;
  const uintptr_t handle =
      _beginthreadex(nullptr, 0, &Platform::Entry, this, CREATE_SUSPENDED, &id);
  if (!handle) {
    platform_.reset();  // refused: an object without a thread
    return;
  }
  platform_->handle = reinterpret_cast<HANDLE>(handle);
  id_ = id;
  AnnounceName(platform_->handle, id, DebuggerName());
}

Thread::~Thread() {
  Join();
  name_.clear();
  body_ = nullptr;
}

bool Thread::Exists() const { return platform_ != nullptr; }

bool Thread::Resume() {
  if (!platform_ || !platform_->handle) return false;
  if (ResumeThread(platform_->handle) == static_cast<DWORD>(-1)) return false;
  platform_->resumed = true;
  return true;
}

void Thread::Join() {
  if (!platform_) return;
  Platform* p = platform_.get();
  if (!p->resumed) {
    p->cancelled.store(true);
    ResumeThread(p->handle);
  }
  // Joined from its own body there is nothing to wait for (waiting would
  // never end); the handle is simply given up.
  if (id_ != GetCurrentThreadId()) WaitForSingleObject(p->handle, INFINITE);
  CloseHandle(p->handle);
  platform_.reset();
  id_ = 0xFFFFFFFFu;
}

}  // namespace Utils
