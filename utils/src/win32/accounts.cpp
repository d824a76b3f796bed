// Users and privileges: the token, the terminal-services session table and
// the local account database.
#include "utils/accounts.h"

#include <windows.h>
#include <lm.h>
#include <wtsapi32.h>

namespace Utils {

bool IsAdministrator() {
  SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &administrators)) {
    return false;
  }
  // A null token means the calling thread's (or process's) own; under UAC
  // the group only counts in an elevated token.
  BOOL member = FALSE;
  if (!CheckTokenMembership(nullptr, administrators, &member)) member = FALSE;
  FreeSid(administrators);
  return member != FALSE;
}

bool GetConsoleUserName(std::wstring& name) {
  LPWSTR user = nullptr;
  DWORD bytes = 0;
  if (!WTSQuerySessionInformationW(WTS_CURRENT_SERVER_HANDLE, WTSGetActiveConsoleSessionId(),
                                   WTSUserName, &user, &bytes)) {
    return false;
  }
  // Nobody logged on at the console gives an empty name: unknown.
  const bool known = user && *user;
  if (known) name = user;
  if (user) WTSFreeMemory(user);
  return known;
}

bool IsAdminAccount(const std::wstring& name) {
  if (name.empty()) return false;
  LPBYTE buffer = nullptr;
  const NET_API_STATUS status = NetUserGetInfo(nullptr, name.c_str(), 1, &buffer);
  const bool admin = status == NERR_Success && buffer &&
                     reinterpret_cast<const USER_INFO_1*>(buffer)->usri1_priv == USER_PRIV_ADMIN;
  if (buffer) NetApiBufferFree(buffer);
  return admin;
}

}  // namespace Utils
