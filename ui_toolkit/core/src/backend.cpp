#include "skinui/core/backend.h"

#include "skinui/core/headless_backend.h"

namespace skinui {

namespace {
std::unique_ptr<Backend>& Slot() {
  static std::unique_ptr<Backend> backend;
  return backend;
}
}  // namespace

Backend& Backend::Current() {
  std::unique_ptr<Backend>& slot = Slot();
  if (slot == nullptr) slot = std::make_unique<HeadlessBackend>();
  return *slot;
}

void Backend::Install(std::unique_ptr<Backend> backend) { Slot() = std::move(backend); }

}  // namespace skinui
