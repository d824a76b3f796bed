#include "collect_sdk/value_node.h"

#include <utility>

#include "collect_sdk/validation.h"
#include "stderr_line.h"

namespace collect_sdk {
namespace utils {

namespace {
const ObjectNode& EmptyObject() {
  static const ObjectNode empty;
  return empty;
}
}  // namespace

ValueNode::ValueNode() = default;

ValueNode ValueNode::Number(double value) {
  ValueNode node;
  node.type_ = NUMBER;
  node.number_ = value;
  return node;
}

ValueNode ValueNode::Int(int64_t value) {
  ValueNode node;
  node.type_ = INT;
  node.int_ = value;
  return node;
}

ValueNode ValueNode::String(std::string value) {
  ValueNode node;
  node.type_ = STRING;
  node.string_ = std::move(value);
  return node;
}

ValueNode ValueNode::List(std::vector<std::string> value) {
  ValueNode node;
  node.type_ = LIST;
  node.list_ = std::move(value);
  return node;
}

ValueNode ValueNode::MakeDateTime(int64_t seconds, int milliseconds) {
  ValueNode node;
  node.type_ = DATETIME;
  node.dateTime_.seconds = seconds;
  node.dateTime_.milliseconds = milliseconds;
  return node;
}

ValueNode ValueNode::Bool(bool value) {
  ValueNode node;
  node.type_ = BOOL;
  node.bool_ = value;
  return node;
}

ValueNode ValueNode::Object(const ObjectNode& value) {
  ValueNode node;
  node.type_ = OBJECT;
  node.object_ = std::make_unique<ObjectNode>(value);
  return node;
}

ValueNode ValueNode::Object(ObjectNode&& value) {
  ValueNode node;
  node.type_ = OBJECT;
  node.object_ = std::make_unique<ObjectNode>(std::move(value));
  return node;
}

ValueNode::ValueNode(const ValueNode& other)
    : type_(other.type_),
      number_(other.number_),
      int_(other.int_),
      bool_(other.bool_),
      dateTime_(other.dateTime_),
      string_(other.string_),
      list_(other.list_),
      object_(other.object_ ? std::make_unique<ObjectNode>(*other.object_) : nullptr) {}

ValueNode::ValueNode(ValueNode&& other) noexcept = default;

ValueNode& ValueNode::operator=(const ValueNode& other) {
  if (this != &other) {
    ValueNode copy(other);
    *this = std::move(copy);
  }
  return *this;
}

ValueNode& ValueNode::operator=(ValueNode&& other) noexcept = default;
ValueNode::~ValueNode() = default;

const ObjectNode& ValueNode::AsObject() const { return object_ ? *object_ : EmptyObject(); }

void ObjectNode::SetNumber(const std::string& key, double value) {
  SetValue(key, ValueNode::Number(value));
}

void ObjectNode::SetNumber(const std::string& key, int value) {
  SetValue(key, ValueNode::Int(static_cast<int64_t>(value)));
}

void ObjectNode::SetInt(const std::string& key, int64_t value) { SetValue(key, ValueNode::Int(value)); }

bool ObjectNode::SetString(const std::string& key, const std::string& value) {
  if (!CheckStringValue(key, value)) return false;
  SetValue(key, ValueNode::String(value));
  return true;
}

bool ObjectNode::SetString(const std::string& key, const char* value) {
  if (value == nullptr) return false;
  return SetString(key, std::string(value));
}

void ObjectNode::SetBool(const std::string& key, bool value) { SetValue(key, ValueNode::Bool(value)); }

void ObjectNode::SetList(const std::string& key, const std::vector<std::string>& value) {
  SetValue(key, ValueNode::List(value));
}

void ObjectNode::SetDateTime(const std::string& key, int64_t seconds, int milliseconds) {
  SetValue(key, ValueNode::MakeDateTime(seconds, milliseconds));
}

void ObjectNode::SetObject(const std::string& key, const ObjectNode& value) {
  SetValue(key, ValueNode::Object(value));
}

void ObjectNode::SetObject(const std::string& key, ObjectNode&& value) {
  SetValue(key, ValueNode::Object(std::move(value)));
}

// By value: the temporaries of the typed setters are moved in, not copied.
void ObjectNode::SetValue(const std::string& key, ValueNode value) {
  entries_.insert_or_assign(key, std::move(value));
}

void ObjectNode::Merge(const ObjectNode& other) {
  if (&other == this) return;
  for (const auto& entry : other.entries_) entries_.insert_or_assign(entry.first, entry.second);
}

bool ObjectNode::Check() const {
  for (const auto& entry : entries_) {
    if (!CheckName("Property Key", entry.first)) return false;
    if (entry.first == "$time" && entry.second.GetType() != ValueNode::DATETIME) {
      WriteStandardError("The property '$time' should be DateTime type.");
      return false;
    }
    if (entry.first == "$project" && entry.second.GetType() != ValueNode::STRING) {
      WriteStandardError("The property '$project' should be String type.");
      return false;
    }
  }
  return true;
}

const ValueNode* ObjectNode::Find(const std::string& key) const {
  const auto it = entries_.find(key);
  return it == entries_.end() ? nullptr : &it->second;
}

bool ObjectNode::Remove(const std::string& key) { return entries_.erase(key) != 0; }

}  // namespace utils
}  // namespace collect_sdk
