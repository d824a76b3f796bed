// The staging file: unsent records kept between runs, one per line, each
// line ended by CR LF. Every write replaces the file atomically (temporary
// file, flushed, renamed), so a crash mid-write leaves the old content.
// Thread safety: callers serialize access (the record store's queue lock).
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace collect_sdk {

// The last `room` lines of the file that are non-empty and begin with "{"
// and end with "}" (a trailing CR is not part of a line), in file order. A
// missing or unreadable file reads as empty.
std::vector<std::string> ReadStagingRecords(const std::string& path, size_t room);

// Empties the file when it exists.
void TruncateStaging(const std::string& path);

// Replaces the file with the records. When there are none and no file
// exists, nothing is created. False when the file could not be written.
bool WriteStaging(const std::string& path, const std::deque<std::string>& records);

}  // namespace collect_sdk
