// Property values and the ordered property maps every tracking call takes.
//
// ValueNode is a tagged union whose type codes are fixed: the serializer and
// the property check switch on them. ObjectNode is an ordered map from
// property name to ValueNode, ordered by plain byte-wise comparison, so the
// JSON text of a node always lists its keys in that order. PropertiesNode is
// the type passed to every tracking operation; it adds no state.
//
// Both are plain value types: copies are deep, nothing is shared.
// Thread safety: none of their own; a node is used by one thread at a time
// (copies may go to other threads).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace collect_sdk {
namespace utils {

class ObjectNode;

class ValueNode {
 public:
  enum Type : int {
    NUMBER = 0,    // double
    INT = 1,       // int64_t
    STRING = 2,    // UTF-8 bytes
    LIST = 3,      // ordered list of strings
    DATETIME = 4,  // seconds since 1970-01-01 UTC + milliseconds 0..999
    BOOL = 5,
    OBJECT = 6,    // nested ObjectNode
  };

  struct DateTime {
    int64_t seconds = 0;
    int milliseconds = 0;
  };

  ValueNode();  // INT 0
  static ValueNode Number(double value);
  static ValueNode Int(int64_t value);
  static ValueNode String(std::string value);
  static ValueNode List(std::vector<std::string> value);
  static ValueNode MakeDateTime(int64_t seconds, int milliseconds);
  static ValueNode Bool(bool value);
  static ValueNode Object(const ObjectNode& value);
  static ValueNode Object(ObjectNode&& value);

  ValueNode(const ValueNode& other);
  ValueNode(ValueNode&& other) noexcept;
  ValueNode& operator=(const ValueNode& other);
  ValueNode& operator=(ValueNode&& other) noexcept;
  ~ValueNode();

  Type GetType() const { return type_; }
  // Payload accessors: meaningful only for the matching type; the others
  // answer the default value.
  double AsNumber() const { return number_; }
  int64_t AsInt() const { return int_; }
  const std::string& AsString() const { return string_; }
  const std::vector<std::string>& AsList() const { return list_; }
  const DateTime& AsDateTime() const { return dateTime_; }
  bool AsBool() const { return bool_; }
  const ObjectNode& AsObject() const;  // an empty node unless OBJECT

  // Appends the compact JSON form of the value.
  void AppendJson(std::string* out) const;

 private:
  Type type_ = INT;
  double number_ = 0.0;
  int64_t int_ = 0;
  bool bool_ = false;
  DateTime dateTime_;
  std::string string_;
  std::vector<std::string> list_;
  std::unique_ptr<ObjectNode> object_;  // set only for OBJECT
};

class ObjectNode {
 public:
  using Entries = std::map<std::string, ValueNode>;  // byte-wise key order

  // Every setter replaces an existing entry of the same name.
  void SetNumber(const std::string& key, double value);  // NUMBER
  void SetNumber(const std::string& key, int value);     // INT (sign-extended)
  void SetInt(const std::string& key, int64_t value);    // INT
  // STRING after the value check (at most 8192 bytes, strict UTF-8). A
  // refused value writes one line to standard error, leaves any existing
  // entry as it was, and returns false.
  bool SetString(const std::string& key, const std::string& value);
  bool SetString(const std::string& key, const char* value);  // null: refused
  void SetBool(const std::string& key, bool value);
  void SetBool(const std::string& key, const char* value) = delete;  // not a bool
  void SetList(const std::string& key, const std::vector<std::string>& value);
  void SetDateTime(const std::string& key, int64_t seconds, int milliseconds);
  void SetObject(const std::string& key, const ObjectNode& value);
  void SetObject(const std::string& key, ObjectNode&& value);  // takes the node's entries
  // Stores a value as it is (no value check): for copying between nodes.
  void SetValue(const std::string& key, ValueNode value);

  // Copies every entry of the other node into this one, replacing entries
  // with the same name.
  void Merge(const ObjectNode& other);

  // The property check: every key passes the name check under "Property Key",
  // "$time" holds a DATETIME and "$project" a STRING. Stops at the first
  // failure, which it writes to standard error.
  bool Check() const;

  // Compact JSON: no whitespace, keys in map order.
  std::string ToJson() const;
  void AppendJson(std::string* out) const;

  const ValueNode* Find(const std::string& key) const;  // null when absent
  bool Has(const std::string& key) const { return entries_.count(key) != 0; }
  bool Remove(const std::string& key);  // true when an entry was removed
  size_t Size() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }
  void Clear() { entries_.clear(); }
  const Entries& GetEntries() const { return entries_; }

 private:
  Entries entries_;
};

// The property set of a tracking operation.
class PropertiesNode : public ObjectNode {};

}  // namespace utils

using utils::ObjectNode;
using utils::PropertiesNode;
using utils::ValueNode;

}  // namespace collect_sdk
