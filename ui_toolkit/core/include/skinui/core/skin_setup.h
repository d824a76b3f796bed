// The process-wide skin set-up: the instance handle, and where skin files
// come from. Windows ask for their source by resource type and id:
//   kSkinArchiveResource (4): the 7z archive stored as resource "SKINRES"
//     with that id (opened once from memory, then shared);
//   any other type: the skin folder (the window's own SkinFolder, else the
//     process's folder), or the source installed with InstallSkinSource.
//
// Threads: set-up calls on the UI thread before windows exist; SourceFor may
// be called from the UI thread at any time. The sources live until
// ResetSkinSetup or process end (windows borrow them).
#pragma once

#include <memory>
#include <string>

#include "skinui/archive/skin_open_error.h"
#include "skinui/skin_source.h"

namespace skinui {

enum SkinResourceType : int {
  kSkinFiles = 1,             // loose files in a folder
  kSkinArchiveFile = 2,       // a 7z file in the skin folder (not used)
  kSkinResource = 3,          // loose files as resources (not used)
  kSkinArchiveResource = 4,   // a 7z archive in the executable's resources
};

// The resource type name of the skin archive.
constexpr wchar_t kSkinResourceTypeName[] = L"SKINRES";

struct SkinSetupResult {
  SkinOpenError error = SkinOpenError::kOk;
  std::string text;  // the cause, empty on success
};

// The module (HINSTANCE) whose resources hold the skin; null: the program.
void SetSkinInstance(void* instance);
void* SkinInstance();

// Opens the archive resource "SKINRES" `id` now (otherwise the first window
// that asks opens it). kNotFound when there is no such resource.
SkinSetupResult LoadSkinArchiveResource(int id);
// The folder loose-file skins are read from.
void SetSkinFolder(const std::wstring& folder);
// Replaces every source look-up with `source` (tools and tests).
void InstallSkinSource(std::unique_ptr<SkinSource> source);
// Forgets every opened source (tests).
void ResetSkinSetup();

// The source for a window, or null with *why set (when not null).
const SkinSource* SkinSourceFor(int resource_type, int resource_id, const std::wstring& folder,
                                std::string* why);

}  // namespace skinui
