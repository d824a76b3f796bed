// The sample package's script interpreter and output.
#include "sample_script.h"

#include <cstdlib>
#include <limits>

#include "utils/file.h"
#include "utils/format.h"
#include "utils/standard_output.h"
#include "utils/sysinfo.h"
#include "utils/text.h"

namespace SamplePackage {
namespace {

unsigned g_codePage = 0;  // 0: script bytes go out as they are (UTF-8)

std::string Convert(const std::string& utf8) {
  if (g_codePage == 0 || utf8.empty()) return utf8;
  return Utils::WideToMultiByte(Utils::Utf8ToWide(utf8), g_codePage);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Escapes resolved; literal runs converted to the code page, \xHH bytes
// kept raw so that a test can write any byte sequence.
std::string Render(const std::string& text) {
  std::string out, run;
  auto flush = [&] {
    out += Convert(run);
    run.clear();
  };
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 >= text.size()) {
      run += text[i];
      continue;
    }
    const char e = text[++i];
    if (e == 'n') run += '\n';
    else if (e == 'r') run += '\r';
    else if (e == 't') run += '\t';
    else if (e == 'x' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
             HexDigit(text[i + 2]) >= 0) {
      flush();
      out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else run += e;  // "\\", "\;" and anything else: the character itself
  }
  flush();
  return out;
}

void Write(const std::string& bytes) { Utils::WriteStandardOutput(bytes.data(), bytes.size()); }

void Fill(long long bytes) {
  const std::string line = "Filler=" + std::string(56, 'x') + "\n";  // 64 bytes
  std::string block;
  for (int i = 0; i < 64; ++i) block += line;
  while (bytes >= static_cast<long long>(block.size())) {
    Write(block);
    bytes -= static_cast<long long>(block.size());
  }
  if (bytes > 0) Write(std::string(static_cast<size_t>(bytes - 1), 'x') + "\n");
}

[[noreturn]] void Hang() {
  for (;;) Utils::SleepMilliseconds(60000);
}

}  // namespace

void WriteLine(const std::string& utf8) { Write(Convert(utf8) + "\n"); }

bool LoadScriptFile(const std::wstring& path, std::vector<std::string>* steps) {
  std::string bytes;
  if (!Utils::ReadWholeFile(path, bytes)) return false;
  size_t begin = 0;
  while (begin <= bytes.size()) {
    size_t end = bytes.find('\n', begin);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(begin, end - begin);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    steps->push_back(line);
    begin = end + 1;
  }
  return true;
}

std::vector<std::string> SplitSteps(const std::string& text) {
  std::vector<std::string> steps(1);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      steps.back() += text.substr(i, 2);  // escapes stay for Render
      ++i;
    } else if (text[i] == ';') {
      steps.emplace_back();
    } else {
      steps.back() += text[i];
    }
  }
  return steps;
}

int RunScript(const std::vector<std::string>& steps, const Context& context) {
  for (std::string step : steps) {
    while (!step.empty() && (step.front() == ' ' || step.front() == '\t')) step.erase(0, 1);
    if (step.empty() || step[0] == '#') continue;
    const size_t space = step.find(' ');
    const std::string verb = step.substr(0, space);
    const std::string rest = space == std::string::npos ? std::string() : step.substr(space + 1);
    if (verb == "out") {
      Write(Render(rest) + "\n");
    } else if (verb == "raw") {
      Write(Render(rest));
    } else if (verb == "split") {
      const size_t gap = rest.find(' ');
      const size_t first = static_cast<size_t>(std::strtoul(rest.c_str(), nullptr, 10));
      const std::string bytes =
          Render(gap == std::string::npos ? std::string() : rest.substr(gap + 1)) + "\n";
      Write(bytes.substr(0, first < bytes.size() ? first : bytes.size()));
      Utils::SleepMilliseconds(250);
      if (first < bytes.size()) Write(bytes.substr(first));
    } else if (verb == "sleep") {
      Utils::SleepMilliseconds(static_cast<uint32_t>(std::strtoul(rest.c_str(), nullptr, 10)));
    } else if (verb == "encode") {
      g_codePage = static_cast<unsigned>(std::strtoul(rest.c_str(), nullptr, 10));
    } else if (verb == "fill") {
      Fill(std::strtoll(rest.c_str(), nullptr, 10));
    } else if (verb == "exit") {
      std::exit(static_cast<int>(std::strtol(rest.c_str(), nullptr, 10)));
    } else if (verb == "hang") {
      Hang();
    } else if (verb == "stamp") {
      WriteLine(rest + std::to_string(Utils::TickCount32()));
    } else if (verb == "args") {
      for (size_t i = 1; i < context.arguments.size(); ++i) {
        WriteLine("Message=" + Utils::WideToUtf8(context.arguments[i]));
      }
    } else if (verb == "install") {
      if (!Install(context)) return 1;
    } else if (verb == "uninstall") {
      if (!Uninstall(context)) return 1;
    } else {
      WriteLine("Message=unknown step: " + step);
      return 1;
    }
  }
  return 0;
}

}  // namespace SamplePackage
