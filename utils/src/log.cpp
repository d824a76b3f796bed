#include "utils/log.h"

#include "utils/sysinfo.h"

namespace Utils {
namespace detail {

LogStamp TakeLogStamp() noexcept {
  const LocalTime now = GetLocalTimeNow();
  return LogStamp{CurrentProcessId(), CurrentThreadId(), now.year,   now.month, now.day,
                  now.hour,           now.minute,        now.second, now.millisecond};
}

namespace {

// Removes every parenthesised group, keeping the rest. Used on the name part
// only, where parentheses come from lambdas ("<lambda(int)>") and from the
// enclosing function of a local class or lambda ("Fn()::<lambda>").
std::string DropParenthesised(std::string_view text) {
  std::string out;
  int depth = 0;
  for (char c : text) {
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (depth > 0) --depth;
    } else if (depth == 0) {
      out.push_back(c);
    }
  }
  return out;
}

// Index of the '(' that opens the function's own parameter list: the last
// top-level '(' whose group is not inside template brackets and is not
// followed by "::" (that group belongs to an enclosing function, as in
// "Fn()::<lambda(int)>").
size_t ParameterListStart(std::string_view s) {
  int paren = 0, angle = 0;
  size_t start = std::string_view::npos;
  size_t open = std::string_view::npos;
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '<') {
      // "operator<" and "operator<<" are names, not brackets.
      if (i >= 8 && s.substr(i - 8, 8) == "operator") continue;
      ++angle;
    } else if (c == '>') {
      if (angle > 0) --angle;
    } else if (c == '(') {
      if (paren == 0 && angle == 0) open = i;
      ++paren;
    } else if (c == ')') {
      if (paren > 0) --paren;
      if (paren == 0 && open != std::string_view::npos) {
        if (s.substr(i + 1, 2) != "::") start = open;
        open = std::string_view::npos;
      }
    }
  }
  return start;
}

}  // namespace

std::wstring QualifiedFunctionName(std::string_view pretty) {
  // gcc appends template arguments as " [with T = int]".
  const size_t with = pretty.find(" [with ");
  if (with != std::string_view::npos) pretty = pretty.substr(0, with);
  const size_t params = ParameterListStart(pretty);
  std::string_view head = params == std::string_view::npos ? pretty : pretty.substr(0, params);
  // The return type and calling convention are separated from the name by a
  // blank outside brackets; the name is what follows the last such blank.
  int angle = 0, paren = 0;
  size_t nameStart = 0;
  for (size_t i = 0; i < head.size(); ++i) {
    const char c = head[i];
    if (c == '<') ++angle;
    else if (c == '>' && angle > 0) --angle;
    else if (c == '(') ++paren;
    else if (c == ')' && paren > 0) --paren;
    else if (c == ' ' && angle == 0 && paren == 0) nameStart = i + 1;
  }
  std::string name = DropParenthesised(head.substr(nameStart));
  // Anonymous namespaces add nothing a reader of the log can use.
  for (const char* anon : {"{anonymous}::", "`anonymous namespace'::"}) {
    for (size_t at = name.find(anon); at != std::string::npos; at = name.find(anon)) {
      name.erase(at, std::char_traits<char>::length(anon));
    }
  }
  std::wstring wide;
  wide.reserve(name.size());
  for (unsigned char c : name) wide.push_back(static_cast<wchar_t>(c));
  return wide;
}

}  // namespace detail
}  // namespace Utils
