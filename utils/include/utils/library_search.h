// Hardening of the dynamic-library search.
//
// Windows: SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) when the
// system has it, SetDllDirectoryW(""), then the system copies of version,
// ws2_32, sxs, dwmapi, msimg32, d3d8, ieframe, ws2help and WindowsCodecs are
// preloaded so that later implicit loads of those names never pick a file
// placed beside the executable. Failures are ignored.
// Elsewhere there is nothing to do: the dynamic loader never searches the
// executable's folder or the current directory unless told to (no RPATH of
// ".", no LD_LIBRARY_PATH set by us).
#pragma once

namespace Utils {

void HardenDllSearch();

}  // namespace Utils
