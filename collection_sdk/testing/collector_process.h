// CollectorProcess: the local collector (tools/collector/collector.py) as a
// real child process, for tests and benchmarks.
//
// The script is found beside the running executable (the build copies it
// into the binary folder); it runs under "python3" from PATH, so this works
// where Python exists (natively, not under Wine). The collector stops by
// itself when idle, after its time limit, or when this process ends; the
// destructor also ends it at once.
//
// Thread safety: one owner thread; Records/RequestLog may be read while the
// collector serves (it appends whole lines, flushed before it answers).
#pragma once

#include <string>
#include <vector>

#include "utils/process.h"

namespace collect_sdk_testing {

struct CollectorOptions {
  std::string mode = "ok";   // ok, 500, 204, hang, close
  std::string script;        // modes of the first requests, "ok,500,..."
  double hangSeconds = 5.0;  // past the sender's 3 s timeout
  double idleSeconds = 60.0;
};

class CollectorProcess {
 public:
  CollectorProcess() = default;
  ~CollectorProcess();
  CollectorProcess(const CollectorProcess&) = delete;
  CollectorProcess& operator=(const CollectorProcess&) = delete;

  // Starts the collector writing its files into workDir (UTF-8 path) and
  // waits for its port. False (with the reason in Error()) when python3 or
  // the script is missing or the collector did not report a port.
  bool Start(const std::string& workDir, const CollectorOptions& options = CollectorOptions());
  void Stop();

  int Port() const { return port_; }
  // "http://127.0.0.1:<port>" + path.
  std::string Url(const std::string& path = "/sa?project=pc") const;
  // Records received with status 200, one JSON text each, in arrival order.
  std::vector<std::string> Records() const;
  // The request log, one JSON object text per batch post.
  std::vector<std::string> RequestLog() const;
  // Queues a fault for the next `count` batch posts.
  bool Queue(const std::string& mode, int count);
  const std::string& Error() const { return error_; }

  // The path of collector.py beside the running executable.
  static std::wstring ScriptPath();

 private:
  Utils::ChildProcess* child_ = nullptr;
  int port_ = 0;
  std::string recordsPath_;
  std::string requestsPath_;
  std::string error_;
};

// The integer value of "key": N in one JSON object text; fallback when absent.
long JsonIntField(const std::string& objectText, const std::string& key, long fallback = -9999);

// The lines of a text file (CR LF or LF); empty when it cannot be read.
std::vector<std::string> ReadLines(const std::string& utf8Path);

}  // namespace collect_sdk_testing
