// Attribute setters keyed by attribute name, compared without regard to
// case. Each control class owns one static registry whose parent is its base
// class's, so a derived class adds its own attributes and inherits the rest.
//
// Threads: registries are built once (function-local statics) and then only
// read; any thread.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace skinui {

class Control;

enum class AttributeResult {
  kOk,
  kUnknown,   // no setter of that name (ignored by the builder)
  kBadValue,  // the setter refused the text (a malformed number, colour ...)
};

class AttributeRegistry {
 public:
  // A setter returns false when the value text is malformed.
  using Setter = std::function<bool(Control& control, std::string_view value)>;

  explicit AttributeRegistry(const AttributeRegistry* parent = nullptr) : parent_(parent) {}

  void Add(std::string_view name, Setter setter);

  // Binds a setter of a derived class; the registry is only used for
  // controls of that class (Control::Attributes() picks it by dynamic type).
  template <class T>
  void AddFor(std::string_view name, bool (*setter)(T&, std::string_view)) {
    Add(name, [setter](Control& c, std::string_view v) { return setter(static_cast<T&>(c), v); });
  }

  // Walks up to the parents. Null when no registry knows the name.
  const Setter* Find(std::string_view name) const;

 private:
  const AttributeRegistry* parent_;
  std::unordered_map<std::string, Setter> setters_;  // lower-case names
};

}  // namespace skinui
