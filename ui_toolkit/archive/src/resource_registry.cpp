#include "resource_registry.h"

#include <map>
#include <mutex>
#include <string>
#include <utility>

namespace skinui {
namespace {

// Type names compare like PE resource types: without ASCII case.
std::wstring UpperType(std::wstring_view type_name) {
  std::wstring upper(type_name);
  for (wchar_t& c : upper) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  }
  return upper;
}

struct Registry {
  std::mutex lock;
  std::map<std::pair<std::wstring, int>, ResourceBytes> entries;
};

// Built on first use, so registrations from other files' static
// initialisers find it whatever the order of initialisation.
Registry& TheRegistry() {
  static Registry* registry = new Registry;  // never destroyed: used until exit
  return *registry;
}

}  // namespace

bool RegisterEmbeddedResource(std::wstring_view type_name, int id, const std::uint8_t* data,
                              std::size_t size) {
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> hold(registry.lock);
  return registry.entries.emplace(std::make_pair(UpperType(type_name), id), ResourceBytes{data, size})
      .second;
}

namespace detail {

std::optional<ResourceBytes> FindRegisteredResource(std::wstring_view type_name, int id) {
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> hold(registry.lock);
  const auto it = registry.entries.find(std::make_pair(UpperType(type_name), id));
  if (it == registry.entries.end()) return std::nullopt;
  return it->second;
}

std::wstring NumericTypeName(int type_id) { return L"#" + std::to_wstring(type_id); }

}  // namespace detail
}  // namespace skinui
