#include "staging_file.h"

#include "utils/file.h"
#include "utils/folders.h"
#include "utils/text.h"

namespace collect_sdk {

namespace {
std::wstring WidePath(const std::string& path) { return Utils::Utf8ToWide(path); }

bool IsRecordLine(const std::string& line) {
  return !line.empty() && line.front() == '{' && line.back() == '}';
}
}  // namespace

std::vector<std::string> ReadStagingRecords(const std::string& path, size_t room) {
  std::vector<std::string> kept;
  std::string bytes;
  if (room == 0 || path.empty() || !Utils::ReadWholeFile(WidePath(path), bytes)) return kept;
  std::vector<std::string> valid;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (IsRecordLine(line)) valid.push_back(std::move(line));
    start = end + 1;
  }
  // The newest lines survive when the file holds more than there is room for.
  const size_t skip = valid.size() > room ? valid.size() - room : 0;
  kept.assign(std::make_move_iterator(valid.begin() + static_cast<std::ptrdiff_t>(skip)),
              std::make_move_iterator(valid.end()));
  return kept;
}

void TruncateStaging(const std::string& path) {
  if (path.empty() || !Utils::PathExists(WidePath(path))) return;
  Utils::WriteFileAtomically(WidePath(path), std::string());
}

bool WriteStaging(const std::string& path, const std::deque<std::string>& records) {
  if (path.empty()) return false;
  const std::wstring wide = WidePath(path);
  if (records.empty() && !Utils::PathExists(wide)) return true;
  size_t total = 0;
  for (const auto& record : records) total += record.size() + 2;
  std::string bytes;
  bytes.reserve(total);
  for (const auto& record : records) {
    bytes.append(record);
    bytes.append("\r\n");
  }
  return Utils::WriteFileAtomically(wide, bytes);
}

}  // namespace collect_sdk
