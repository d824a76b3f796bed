// Compact JSON of values and nodes: no whitespace, keys in map order, keys
// written as they are (the name check keeps them to [A-Za-z0-9$_]).
#include <cmath>
#include <iterator>

#include <fmt/format.h>

#include "collect_sdk/value_node.h"
#include "utils/calendar.h"

namespace collect_sdk {
namespace utils {

namespace {

// Only these seven bytes are escaped; every other byte, control bytes and
// non-ASCII included, is copied unchanged (values are checked as strict
// UTF-8 without control bytes when they are set).
void AppendQuoted(const std::string& text, std::string* out) {
  out->push_back('"');
  for (const char c : text) {
    switch (c) {
      case '\b': out->append("\\b"); break;
      case '\t': out->append("\\t"); break;
      case '\n': out->append("\\n"); break;
      case '\f': out->append("\\f"); break;
      case '\r': out->append("\\r"); break;
      case '"': out->append("\\\""); break;
      case '\\': out->append("\\\\"); break;
      default: out->push_back(c);
    }
  }
  out->push_back('"');
}

// General format with 6 significant digits ("%g"), independent of the C
// locale. Infinity and NaN have no JSON form; they are written as null so a
// batch stays parseable.
void AppendNumber(double value, std::string* out) {
  if (!std::isfinite(value)) {
    out->append("null");
    return;
  }
  fmt::format_to(std::back_inserter(*out), "{:g}", value);
}

void AppendDateTime(const ValueNode::DateTime& value, std::string* out) {
  Utils::LocalTime t{1970, 1, 1, 0, 0, 0, 0};
  Utils::ToLocalCalendarTime(value.seconds, value.milliseconds, &t);
  fmt::format_to(std::back_inserter(*out), "\"{:04d}-{:02d}-{:02d} {:02d}:{:02d}:{:02d}.{:03d}\"", t.year,
                 t.month, t.day, t.hour, t.minute, t.second, value.milliseconds);
}

}  // namespace

void ValueNode::AppendJson(std::string* out) const {
  switch (type_) {
    case NUMBER: AppendNumber(number_, out); break;
    case INT: fmt::format_to(std::back_inserter(*out), "{}", int_); break;
    case STRING: AppendQuoted(string_, out); break;
    case LIST: {
      out->push_back('[');
      for (size_t i = 0; i < list_.size(); ++i) {
        if (i > 0) out->push_back(',');
        AppendQuoted(list_[i], out);
      }
      out->push_back(']');
      break;
    }
    case DATETIME: AppendDateTime(dateTime_, out); break;
    case BOOL: out->append(bool_ ? "true" : "false"); break;
    case OBJECT: AsObject().AppendJson(out); break;
  }
}

void ObjectNode::AppendJson(std::string* out) const {
  out->push_back('{');
  bool first = true;
  for (const auto& entry : entries_) {
    if (!first) out->push_back(',');
    first = false;
    out->push_back('"');
    out->append(entry.first);
    out->append("\":");
    entry.second.AppendJson(out);
  }
  out->push_back('}');
}

std::string ObjectNode::ToJson() const {
  std::string out;
  AppendJson(&out);
  return out;
}

}  // namespace utils
}  // namespace collect_sdk
