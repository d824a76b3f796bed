#include "tracker_identity.h"

#include "utils/folders.h"
#include "utils/format.h"
#include "utils/identity.h"
#include "utils/profile.h"
#include "utils/text.h"

namespace kelvo {
namespace tracker {

namespace {

constexpr wchar_t kBase[] = L"Base";
constexpr size_t kValueBufferChars = 128;  // values of at most 127 are read

std::string ReadBase(const wchar_t* key, const std::wstring& file) {
  return Utils::WideToUtf8(Utils::Profile::GetString(kBase, key, L"", kValueBufferChars, file));
}

void WriteValue(const wchar_t* section, const wchar_t* key, const std::string& value,
                const std::wstring& file) {
  Utils::Profile::WriteString(section, key, Utils::Utf8ToWide(value), file);
}

}  // namespace

std::string NewTrackerId() {
  // The system GUID source, laid out as CoCreateGuid's result is printed
  // with "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X".
  std::string hex = Utils::WideToUtf8(Utils::NewGuidString());
  for (char& c : hex) {
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  }
  if (hex.size() != 32) return hex;
  return hex.substr(0, 8) + "-" + hex.substr(8, 4) + "-" + hex.substr(12, 4) + "-" +
         hex.substr(16, 4) + "-" + hex.substr(20, 12);
}

TrackerIdentity LoadIdentity(const std::wstring& file) {
  TrackerIdentity id;
  if (Utils::PathExists(file)) {
    id.distinctId = ReadBase(L"DistinctId", file);
    id.primaryDistinctId = ReadBase(L"PrimaryDistinctId", file);
    if (id.primaryDistinctId.empty()) id.primaryDistinctId = id.distinctId;
    id.userId = ReadBase(L"UserId", file);
    id.userVipLevel = Utils::Profile::GetInt(kBase, L"UserVipLevel", 0, file);
    id.isLogined = ReadBase(L"isLogined", file) == "OK";
    id.url = ReadBase(L"URL", file);
  }
  if (id.distinctId.empty()) {
    id.distinctId = NewTrackerId();
    WriteIdentity(file, id);
  }
  return id;
}

void WriteIdentity(const std::wstring& file, const TrackerIdentity& id) {
  WriteValue(kBase, L"DistinctId", id.distinctId, file);
  WriteValue(kBase, L"PrimaryDistinctId", id.primaryDistinctId, file);
  WriteValue(kBase, L"UserId", id.userId, file);
  WriteValue(kBase, L"UserVipLevel", std::to_string(id.userVipLevel), file);
  WriteValue(kBase, L"URL", id.url, file);
  WriteValue(kBase, L"isLogined", id.isLogined ? "OK" : "NG", file);
}

bool ResetIdentityForUrl(TrackerIdentity& id, const std::string& serverUrl,
                         const std::wstring& file) {
  if (id.url == serverUrl && !id.distinctId.empty()) return false;
  id.userId.clear();
  id.isLogined = false;
  if (id.primaryDistinctId.empty()) id.primaryDistinctId = NewTrackerId();
  id.distinctId = id.primaryDistinctId;
  id.url = serverUrl;
  WriteIdentity(file, id);
  return true;
}

void WriteApplicationRecord(const std::wstring& file, const std::string& appStore,
                            const std::string& appName, const std::string& appVersion) {
  WriteValue(L"UninstallInfo", L"AppStore", appStore, file);
  WriteValue(L"UninstallInfo", L"AppName", appName, file);
  WriteValue(L"UninstallInfo", L"AppVersion", appVersion, file);
}

}  // namespace tracker
}  // namespace kelvo
