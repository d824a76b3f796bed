// Builds a control tree from a UTF-8 XML layout: a root Window element
// (attributes kept by name), Font elements, then one tree of containers and
// controls. Attributes go to the controls' setters by name; element names
// are compared without regard to case. Elements the toolkit does not know
// are offered to IBuilderCallback::CreateCustomControl.
//
// A malformed layout (XML error, unknown element, a number, colour or
// boolean that does not parse, child elements under a plain control) gives a
// BuildError with the line and column (1-based) where the problem starts;
// the builder never asserts or crashes on input.
//
// Threads: any thread (pure function of its arguments; the controls it makes
// are then handed to the UI thread). Ownership: the result owns the tree.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "skinui/core/control.h"
#include "skinui/core/control_manager.h"

namespace skinui {

class IBuilderCallback {
 public:
  virtual ~IBuilderCallback() = default;
  // A control for an element the toolkit does not know, or null.
  virtual std::unique_ptr<Control> CreateCustomControl(std::wstring_view class_name) = 0;
};

// Knows "SequenceLabel" and "SequenceButton"; a window's own hook can fall
// back on it.
std::unique_ptr<Control> CreateStandardCustomControl(std::wstring_view class_name);

enum class BuildStatus {
  kOk = 0,
  kXmlError,        // not well-formed XML
  kNoWindow,        // the root element is not Window
  kUnknownElement,  // neither built in nor known to the callback
  kBadAttribute,    // a value the attribute's parser refused
  kBadStructure,    // children under a control, two roots, nesting too deep
};

struct BuildError {
  BuildStatus status = BuildStatus::kOk;
  int line = 0;
  int column = 0;
  std::string message;  // "3:17: bad value "x" for attribute "width" of Button"
};

// The Window element's attributes: every one by lower-case name, plus the
// parsed geometry ones.
struct WindowAttributes {
  std::map<std::string, std::wstring> values;
  Size size;          // "size"
  Rect caption;       // "caption": l, t, r (inset from the right), b
  Size round_corner;  // "roundcorner"
  Size min_info;      // "mininfo"
  Size max_info;      // "maxinfo"
  Rect size_box;      // "sizebox"

  // The attribute's text, or empty when absent.
  std::wstring Get(std::string_view name) const;
  bool Has(std::string_view name) const;
};

struct Layout {
  std::unique_ptr<Control> root;  // null when the Window holds no control
  WindowAttributes window;
  FontTable fonts;
};

// Fills *out on success. On failure returns false with *error filled and
// *out untouched.
bool BuildLayout(std::string_view xml, IBuilderCallback* callback, Layout* out, BuildError* error);

// Line and column (1-based, column in bytes) of a byte offset into `text`.
void OffsetToLineColumn(std::string_view text, std::size_t offset, int* line, int* column);

}  // namespace skinui
