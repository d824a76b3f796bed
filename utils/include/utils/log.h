// The diagnostic log: one wide line per call on the debugger output channel
// (OutputDebugStringW on Windows; UTF-8 on standard error elsewhere).
//
// Every line starts with the fixed prefix
//   "<P%05d><T%05d><%04d-%02d-%02d %02d:%02d:%02d.%03d>(%s)<%04d>: "
// (process id, thread id, local time with milliseconds, qualified function
// name, source line), followed by the call site's message. The message format
// is appended to the prefix before formatting, so call sites write their own
// line endings; UTILS_LOGLN appends "\r\n" for them. Runtime text is always
// an argument ("%s"), never part of the format.
//
// Thread safety: any thread, no shared state, no lock; the system sink
// serialises whole lines. Never throws, never reports failure: a line that
// cannot be formatted or allocated is dropped.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "utils/format.h"

namespace Utils {

// Sends one already formatted line to the platform's debug channel.
void WriteDebugOutput(const std::wstring& line) noexcept;

// Formats the whole line and hands it to the sink. The buffer is sized from
// the formatted length, so no line is ever truncated.
template <class... Args>
void OutputDebugLog(std::wstring_view format, const Args&... args) noexcept {
  try {
    WriteDebugOutput(FormatW(format, args...));
  } catch (...) {
    // Out of memory or a format that does not match its arguments: the line
    // is lost, the caller's work goes on unchanged.
  }
}

namespace detail {

struct LogStamp {
  uint32_t processId;
  uint32_t threadId;
  int year, month, day, hour, minute, second, millisecond;
};

// Reads the ids and the local clock, in that order of use by the prefix.
LogStamp TakeLogStamp() noexcept;

// "void Ns::Cls::Fn(int) const" -> "Ns::Cls::Fn"; lambdas keep their
// enclosing function's name: "Ns::Fn()::<lambda(int)>" -> "Ns::Fn::<lambda>".
std::wstring QualifiedFunctionName(std::string_view prettyName);

inline constexpr std::wstring_view kLogPrefix =
    L"<P%05d><T%05d><%04d-%02d-%02d %02d:%02d:%02d.%03d>(%s)<%04d>: ";

// The whole line for a stamp: the prefix, then the message (and "\r\n" for
// UTILS_LOGLN), expanded in one pass with the prefix's fields first.
template <class... Args>
std::wstring ComposeLogLine(const LogStamp& t, const std::wstring& function, int line,
                            bool appendNewLine, std::wstring_view message, const Args&... args) {
  std::wstring format;
  format.reserve(kLogPrefix.size() + message.size() + 2);
  format.append(kLogPrefix).append(message);
  if (appendNewLine) format.append(L"\r\n");
  return FormatW(format, t.processId, t.threadId, t.year, t.month, t.day, t.hour, t.minute,
                 t.second, t.millisecond, function, line, args...);
}

template <class... Args>
void LogAt(const std::wstring& function, int line, bool appendNewLine,
           std::wstring_view message, const Args&... args) noexcept {
  try {
    const LogStamp stamp = TakeLogStamp();  // the time first, as the line's moment
    WriteDebugOutput(ComposeLogLine(stamp, function, line, appendNewLine, message, args...));
  } catch (...) {
    // Out of memory or a format that does not match its arguments: the line
    // is lost, the caller's work goes on unchanged.
  }
}

// Caches the call site's qualified function name on first use.
class FunctionName {
 public:
  explicit FunctionName(const char* pretty) noexcept {
    try {
      name_ = QualifiedFunctionName(pretty);
    } catch (...) {
    }
  }
  const std::wstring& get() const noexcept { return name_; }

 private:
  std::wstring name_;
};

}  // namespace detail
}  // namespace Utils

#if defined(_MSC_VER)
#define UTILS_PRETTY_FUNCTION __FUNCSIG__
#else
#define UTILS_PRETTY_FUNCTION __PRETTY_FUNCTION__
#endif

#define UTILS_LOG_IMPL(newline, message, ...)                                            \
  do {                                                                                   \
    static const ::Utils::detail::FunctionName utils_log_function_(UTILS_PRETTY_FUNCTION); \
    ::Utils::detail::LogAt(utils_log_function_.get(), __LINE__, newline, message,        \
                           ##__VA_ARGS__);                                               \
  } while (0)

// UTILS_LOG(L"GetConnectivity %d", flags): the message exactly as written.
#define UTILS_LOG(message, ...) UTILS_LOG_IMPL(false, message, ##__VA_ARGS__)
// UTILS_LOGLN(L"THREAD BEGIN"): the message followed by "\r\n".
#define UTILS_LOGLN(message, ...) UTILS_LOG_IMPL(true, message, ##__VA_ARGS__)
