// Resources linked into the executable, found by type and id as Windows'
// FindResource does: PE resources on Windows (language 2052 first, then any
// language), a registry of linked-in bytes elsewhere, filled before main()
// by the code skinui_embed_resource() generates (cmake/EmbedResource.cmake).
//
// Type names compare without ASCII case, as PE resource types do; a numeric
// type is the name "#<number>" (so FindResourceBytes(10, id) and
// FindResourceBytes(L"#10", id) are the same look-up).
//
// Ownership: the bytes belong to the executable image (or to the static
// storage of the registering code) and stay valid and unchanged for the
// life of the process; nobody frees them.
// Threads: look-ups from any thread. Registration is meant for static
// initialisation but is locked, so it is safe at any time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace skinui {

struct ResourceBytes {
  const std::uint8_t* data;
  std::size_t size;
};

// Empty when no such resource exists.
std::optional<ResourceBytes> FindResourceBytes(std::wstring_view type_name, int id);
std::optional<ResourceBytes> FindResourceBytes(int type_id, int id);

// Windows: the module whose resources are searched (an HMODULE/HINSTANCE);
// null, the default, means the executable. Ignored elsewhere, where the
// registry serves the whole process. Call before the first look-up.
void SetResourceModule(void* module_handle);

// Adds bytes to the process-wide registry (consulted on every platform after
// the platform's own resources). The bytes are borrowed and must be static.
// Returns false, and keeps the first, when the type and id are taken.
bool RegisterEmbeddedResource(std::wstring_view type_name, int id, const std::uint8_t* data,
                              std::size_t size);

}  // namespace skinui
