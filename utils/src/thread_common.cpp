#include "utils/log.h"
#include "utils/text.h"
#include "utils/thread.h"

namespace Utils {

std::string Thread::DebuggerName() const {
  if (name_.empty()) return "t" + std::to_string(id_);
  return WideToMultiByte(name_, kCodePageAnsi);
}

void Thread::CallBack(Thread* self) {
  UTILS_LOGLN(L"THREAD BEGIN");
  self->body_(self->argument_);
  UTILS_LOGLN(L"THREAD END");
}

}  // namespace Utils
