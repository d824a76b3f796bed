// The device identity kept between runs in the identity file (INI format).
//
// Not locked: the identity changes only in initialisation, login, payment
// and destruction, which the tracker never runs concurrently with each
// other. Write failures are not reported.
#pragma once

#include <string>

namespace kelvo {
namespace tracker {

struct TrackerIdentity {
  std::string userId;  // the login id, UTF-8
  std::string distinctId;
  std::string primaryDistinctId;
  int userVipLevel = 0;
  std::string url;  // collection URL the identity belongs to
  bool isLogined = false;
};

// Reads section "Base" (values of at most 127 bytes). A missing
// PrimaryDistinctId takes the DistinctId read; a missing DistinctId (first
// run) becomes a new id and the file is written.
TrackerIdentity LoadIdentity(const std::wstring& file);

// Writes "Base": DistinctId, PrimaryDistinctId, UserId, UserVipLevel, URL,
// isLogined ("OK"/"NG"), in that order.
void WriteIdentity(const std::wstring& file, const TrackerIdentity& identity);

// An identity stored for another collection URL (or without a DistinctId)
// loses its login: UserId cleared, not logged in, DistinctId back to the
// PrimaryDistinctId (a new id for both when there is none), URL = serverUrl;
// the file is then written. True when the reset happened.
bool ResetIdentityForUrl(TrackerIdentity& identity, const std::string& serverUrl,
                         const std::wstring& file);

// Section "UninstallInfo": AppStore, AppName, AppVersion, in that order.
void WriteApplicationRecord(const std::wstring& file, const std::string& appStore,
                            const std::string& appName, const std::string& appVersion);

// A fresh identifier: a GUID in upper case as 8-4-4-4-12 hexadecimal digits.
std::string NewTrackerId();

}  // namespace tracker
}  // namespace kelvo
