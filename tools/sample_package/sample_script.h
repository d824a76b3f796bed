// The sample package's script: what it writes, when, and how it ends.
//
// One step per line of a script file (or per ';'-separated piece of a
// -steps= option); blank lines and lines starting with '#' are skipped:
//   out TEXT       TEXT and a line feed, in one write
//   raw TEXT       TEXT without a line feed
//   split N TEXT   TEXT and a line feed in two writes: the first N bytes,
//                  a 250 ms pause (so they arrive in separate reads), the rest
//   sleep MS       pause
//   encode CP      later TEXT is written in code page CP (0: UTF-8 as given)
//   fill BYTES     that many bytes of "Filler=..." lines (more than a pipe holds)
//   exit CODE      ends the process at once with that exit code
//   hang           waits forever (until killed)
//   stamp KEY      KEY followed by the monotonic clock in milliseconds
//                  (for measuring how late the installer hears a line)
//   args           one "Message=<argument>" line per command-line argument
//   install        the real installation into the target folder
//   uninstall      the real removal of what install wrote
// TEXT takes the escapes \n \r \t \\ \; and \xHH (one raw byte, never
// converted). Script text is UTF-8.
//
// Thread safety: one thread (the tool's main thread).
#pragma once

#include <string>
#include <vector>

namespace SamplePackage {

struct Context {
  std::vector<std::wstring> arguments;  // the command line, program first
  std::wstring folder;                  // target (package) or earlier (uninstaller) folder
};

// Steps of a script file; false when it cannot be read.
bool LoadScriptFile(const std::wstring& path, std::vector<std::string>* steps);
// Steps of a -steps= option: pieces separated by unescaped ';'.
std::vector<std::string> SplitSteps(const std::string& text);

// Runs the steps; returns the process exit code (0 after the last step, the
// code of an "exit" step, 1 when install/uninstall failed or a step is
// unknown).
int RunScript(const std::vector<std::string>& steps, const Context& context);

// The real work, reporting in the protocol as it goes; false on failure
// (after an "Error=" line).
bool Install(const Context& context);
bool Uninstall(const Context& context);

// Writes a UTF-8 line (converted to the current code page) and a line feed.
void WriteLine(const std::string& utf8);

// The product: shows itself and stays up until closed.
int RunProduct();

}  // namespace SamplePackage
