// Resources on Windows: the executable's PE resources, language 2052
// (Chinese, simplified) first, then whatever language the resource has;
// the linked-in registry last.
#include "skinui/archive/resource.h"

#include <windows.h>

#include <atomic>
#include <string>

#include "../resource_registry.h"

namespace skinui {
namespace {

constexpr WORD kSkinLanguage = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);  // 2052

std::atomic<HMODULE> g_module{nullptr};

HMODULE ResourceModule() {
  HMODULE module = g_module.load();
  return module ? module : GetModuleHandleW(nullptr);
}

BOOL CALLBACK TakeFirstLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) {
  *reinterpret_cast<WORD*>(param) = language;
  return FALSE;  // the first one is enough
}

HRSRC FindAnyLanguage(HMODULE module, LPCWSTR type, LPCWSTR name) {
  if (HRSRC found = FindResourceExW(module, type, name, kSkinLanguage)) return found;
  if (HRSRC found = FindResourceW(module, name, type)) return found;
  // A neutral resource would have been found above, so 0 means "none".
  // The callback's FALSE makes EnumResourceLanguagesW report a failure;
  // whether a language was seen is what counts.
  WORD language = 0;
  EnumResourceLanguagesW(module, type, name, TakeFirstLanguage,
                         reinterpret_cast<LONG_PTR>(&language));
  return language != 0 ? FindResourceExW(module, type, name, language) : nullptr;
}

std::optional<ResourceBytes> FindPeResource(LPCWSTR type, int id) {
  const HMODULE module = ResourceModule();
  LPCWSTR name = MAKEINTRESOURCEW(id);
  HRSRC info = FindAnyLanguage(module, type, name);
  if (!info) return std::nullopt;
  HGLOBAL loaded = LoadResource(module, info);
  if (!loaded) return std::nullopt;
  const void* data = LockResource(loaded);
  const DWORD size = SizeofResource(module, info);
  if (!data && size != 0) return std::nullopt;
  return ResourceBytes{static_cast<const std::uint8_t*>(data), size};
}

}  // namespace

std::optional<ResourceBytes> FindResourceBytes(std::wstring_view type_name, int id) {
  try {
    const std::wstring type(type_name);
    if (std::optional<ResourceBytes> found = FindPeResource(type.c_str(), id)) return found;
    return detail::FindRegisteredResource(type_name, id);
  } catch (...) {
    return std::nullopt;
  }
}

std::optional<ResourceBytes> FindResourceBytes(int type_id, int id) {
  try {
    if (std::optional<ResourceBytes> found = FindPeResource(MAKEINTRESOURCEW(type_id), id)) {
      return found;
    }
    return detail::FindRegisteredResource(detail::NumericTypeName(type_id), id);
  } catch (...) {
    return std::nullopt;
  }
}

void SetResourceModule(void* module_handle) { g_module.store(static_cast<HMODULE>(module_handle)); }

}  // namespace skinui
