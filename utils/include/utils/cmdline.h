// Command lines with the Windows rules.
//
// SplitWindowsCommandLine behaves like the system's CommandLineToArgvW: the
// program name (first argument) ends at the first blank or tab, or, when it
// starts with a quote, at the next quote, with no backslash processing; later
// arguments follow the backslash-and-quote rules (2n backslashes + quote: n
// backslashes and a quote toggle; 2n+1 backslashes + quote: n backslashes and
// a literal quote; inside quotes, a doubled quote is a literal quote). It is
// used wherever a Windows command line must become an argument list (child
// processes on POSIX) so both platforms see the same arguments.
//
// Unlike CommandLineToArgvW, an empty command line gives an empty list, not
// the current executable's path.
//
// Thread safety: pure function / reads process state only; any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace Utils {

std::vector<std::wstring> SplitWindowsCommandLine(std::wstring_view commandLine);

// Quotes one argument so that SplitWindowsCommandLine (and the system's
// parser) gives it back unchanged. Used by tools that build command lines.
std::wstring QuoteWindowsArgument(std::wstring_view argument);

// The running process's own arguments, program path first: the system's
// CommandLineToArgvW(GetCommandLineW()) on Windows, /proc/self/cmdline (UTF-8)
// elsewhere.
std::vector<std::wstring> GetProcessArguments();

}  // namespace Utils
