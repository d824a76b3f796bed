// The debugger channel: the system serialises whole lines, so several
// threads never mix within a line.
#include <windows.h>

#include "utils/log.h"

namespace Utils {

void WriteDebugOutput(const std::wstring& line) noexcept { OutputDebugStringW(line.c_str()); }

}  // namespace Utils
