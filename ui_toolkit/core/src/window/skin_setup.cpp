#include "skinui/core/skin_setup.h"

#include <map>
#include <mutex>

#include "skinui/archive/folder_source.h"
#include "skinui/archive/resource.h"
#include "skinui/archive/seven_zip_archive.h"
#include "utils/text.h"

namespace skinui {

namespace {

struct SetupState {
  std::mutex mutex;
  void* instance = nullptr;
  std::wstring folder;
  std::unique_ptr<SkinSource> installed;
  std::map<int, std::unique_ptr<SkinSource>> archives;        // by resource id
  std::map<std::wstring, std::unique_ptr<SkinSource>> folders;  // by folder
};

SetupState& State() {
  static SetupState state;
  return state;
}

SkinSetupResult OpenArchiveLocked(SetupState& s, int id) {
  if (s.archives.count(id) != 0) return {};
  const std::optional<ResourceBytes> bytes = FindResourceBytes(kSkinResourceTypeName, id);
  if (!bytes) {
    return {SkinOpenError::kNotFound, "no resource SKINRES " + std::to_string(id)};
  }
  SevenZipOpenResult opened = SevenZipArchive::Open(bytes->data, bytes->size);
  if (opened.error != SkinOpenError::kOk) {
    return {opened.error, "resource SKINRES " + std::to_string(id) + ": " + opened.text};
  }
  s.archives[id] = std::move(opened.archive);
  return {};
}

}  // namespace

void SetSkinInstance(void* instance) {
  SetupState& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.instance = instance;
  SetResourceModule(instance);
}

void* SkinInstance() {
  SetupState& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  return s.instance;
}

SkinSetupResult LoadSkinArchiveResource(int id) {
  SetupState& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  return OpenArchiveLocked(s, id);
}

void SetSkinFolder(const std::wstring& folder) {
  SetupState& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.folder = folder;
}

void InstallSkinSource(std::unique_ptr<SkinSource> source) {
  SetupState& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.installed = std::move(source);
}

void ResetSkinSetup() {
  SetupState& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.installed.reset();
  s.archives.clear();
  s.folders.clear();
  s.folder.clear();
}

const SkinSource* SkinSourceFor(int resource_type, int resource_id, const std::wstring& folder,
                                std::string* why) {
  SetupState& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (s.installed != nullptr) return s.installed.get();
  if (resource_type == kSkinArchiveResource) {
    const SkinSetupResult r = OpenArchiveLocked(s, resource_id);
    if (r.error != SkinOpenError::kOk) {
      if (why != nullptr) *why = r.text;
      return nullptr;
    }
    return s.archives[resource_id].get();
  }
  const std::wstring path = folder.empty() ? s.folder : folder;
  if (path.empty()) {
    if (why != nullptr) *why = "no skin folder set";
    return nullptr;
  }
  auto& slot = s.folders[path];
  if (slot == nullptr) slot = std::make_unique<FolderSource>(std::filesystem::path(path));
  return slot.get();
}

}  // namespace skinui
