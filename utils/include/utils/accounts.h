// Users and privileges.
// Thread safety: any thread.
#pragma once

#include <string>

namespace Utils {

// True when the process's token is in BUILTIN\Administrators (elevated);
// elsewhere: effective uid 0.
bool IsAdministrator();

// The user logged on at the console (WTS on Windows; $SUDO_USER, then the
// login name elsewhere). False, name unchanged, when unknown.
bool GetConsoleUserName(std::wstring& name);

// True when the local account of that name has administrator privilege
// (USER_PRIV_ADMIN; elsewhere: uid 0 or a member of sudo, wheel or admin).
bool IsAdminAccount(const std::wstring& name);

}  // namespace Utils
