#include "utils/accounts.h"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "utils/text.h"

namespace Utils {

bool IsAdministrator() { return geteuid() == 0; }

bool GetConsoleUserName(std::wstring& name) {
  const char* sudoUser = std::getenv("SUDO_USER");
  if (sudoUser && *sudoUser) {
    name = Utf8ToWide(sudoUser);
    return true;
  }
  const char* login = getlogin();
  if (login && *login) {
    name = Utf8ToWide(login);
    return true;
  }
  if (const passwd* pw = getpwuid(getuid())) {
    name = Utf8ToWide(pw->pw_name);
    return true;
  }
  return false;
}

bool IsAdminAccount(const std::wstring& name) {
  if (name.empty()) return false;
  const std::string user = WideToUtf8(name);
  const passwd* pw = getpwnam(user.c_str());
  if (!pw) return false;
  if (pw->pw_uid == 0) return true;
  const gid_t primary = pw->pw_gid;
  int count = 64;
  std::vector<gid_t> groups(static_cast<size_t>(count));
  if (getgrouplist(user.c_str(), primary, groups.data(), &count) < 0) {
    groups.resize(static_cast<size_t>(count));
    if (getgrouplist(user.c_str(), primary, groups.data(), &count) < 0) return false;
  }
  groups.resize(static_cast<size_t>(count));
  for (gid_t gid : groups) {
    if (const group* g = getgrgid(gid)) {
      if (!std::strcmp(g->gr_name, "sudo") || !std::strcmp(g->gr_name, "wheel") ||
          !std::strcmp(g->gr_name, "admin")) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace Utils
