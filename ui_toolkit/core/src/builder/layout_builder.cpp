#include "skinui/core/layout_builder.h"

#include <pugixml.hpp>

#include <functional>
#include <unordered_map>

#include "skinui/core/attribute_parse.h"
#include "skinui/core/button.h"
#include "skinui/core/check_box.h"
#include "skinui/core/container.h"
#include "skinui/core/edit.h"
#include "skinui/core/label.h"
#include "skinui/core/progress.h"
#include "utils/text.h"

namespace skinui {

namespace {

constexpr int kMaxDepth = 200;

using Factory = std::unique_ptr<Control> (*)();

template <class T>
std::unique_ptr<Control> Make() {
  return std::make_unique<T>();
}

const std::unordered_map<std::string, Factory>& BuiltInControls() {
  static const std::unordered_map<std::string, Factory> factories = {
      {"control", Make<Control>},
      {"container", Make<Container>},
      {"verticallayout", Make<VerticalLayout>},
      {"horizontallayout", Make<HorizontalLayout>},
      {"tablayout", Make<TabLayout>},
      {"label", Make<Label>},
      {"text", Make<Label>},
      {"button", Make<Button>},
      {"checkbox", Make<CheckBox>},
      {"option", Make<CheckBox>},
      {"edit", Make<Edit>},
      {"progress", Make<Progress>},
  };
  return factories;
}

// Window attributes whose values are parsed (and so can be malformed).
using WindowSetter = bool (*)(WindowAttributes*, std::string_view);
const std::unordered_map<std::string, WindowSetter>& WindowSetters() {
  static const std::unordered_map<std::string, WindowSetter> setters = {
      {"size", [](WindowAttributes* w, std::string_view v) { return ParseSizeValue(v, &w->size); }},
      {"caption",
       [](WindowAttributes* w, std::string_view v) { return ParseRectValue(v, &w->caption); }},
      {"roundcorner",
       [](WindowAttributes* w, std::string_view v) { return ParseSizeValue(v, &w->round_corner); }},
      {"mininfo",
       [](WindowAttributes* w, std::string_view v) { return ParseSizeValue(v, &w->min_info); }},
      {"maxinfo",
       [](WindowAttributes* w, std::string_view v) { return ParseSizeValue(v, &w->max_info); }},
      {"sizebox",
       [](WindowAttributes* w, std::string_view v) { return ParseRectValue(v, &w->size_box); }},
  };
  return setters;
}

class Builder {
 public:
  Builder(std::string_view xml, IBuilderCallback* callback) : xml_(xml), callback_(callback) {}

  bool Run(Layout* out, BuildError* error) {
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed =
        doc.load_buffer(xml_.data(), xml_.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed) {
      return Fail(static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, parsed.offset)),
                  BuildStatus::kXmlError, std::string("XML error: ") + parsed.description(), error);
    }
    const pugi::xml_node window = doc.document_element();
    if (window.empty() || !EqualsNoCase(window.name(), "Window")) {
      return Fail(Offset(window), BuildStatus::kNoWindow, "the root element is not Window", error);
    }
    Layout layout;
    if (!ReadWindow(window, &layout.window, error)) return false;
    for (pugi::xml_node child : window.children()) {
      if (child.type() != pugi::node_element) continue;
      if (EqualsNoCase(child.name(), "Font")) {
        if (!ReadFont(child, &layout.fonts, error)) return false;
        continue;
      }
      if (EqualsNoCase(child.name(), "Default") || EqualsNoCase(child.name(), "Include")) continue;
      if (layout.root != nullptr) {
        return Fail(Offset(child), BuildStatus::kBadStructure,
                    "Window holds more than one root control", error);
      }
      if (!BuildControl(child, 1, &layout.root, error)) return false;
    }
    *out = std::move(layout);
    return true;
  }

 private:
  std::size_t Offset(const pugi::xml_node& node) const {
    const std::ptrdiff_t o = node.offset_debug();
    return o < 0 ? 0 : static_cast<std::size_t>(o);
  }

  bool Fail(std::size_t offset, BuildStatus status, const std::string& message,
            BuildError* error) const {
    if (error == nullptr) return false;
    error->status = status;
    OffsetToLineColumn(xml_, offset, &error->line, &error->column);
    error->message = std::to_string(error->line) + ":" + std::to_string(error->column) + ": " + message;
    return false;
  }

  bool BadValue(const pugi::xml_node& node, const pugi::xml_attribute& a, BuildError* error) const {
    return Fail(AttributeOffset(node, a), BuildStatus::kBadAttribute,
                std::string("bad value \"") + a.value() + "\" for attribute \"" + a.name() +
                    "\" of " + node.name(),
                error);
  }

  // Where the attribute's name is written, searched from its element's tag.
  std::size_t AttributeOffset(const pugi::xml_node& node, const pugi::xml_attribute& a) const {
    const std::size_t from = Offset(node);
    const std::size_t at = xml_.find(a.name(), from);
    return at == std::string_view::npos ? from : at;
  }

  bool ReadWindow(const pugi::xml_node& node, WindowAttributes* w, BuildError* error) {
    for (pugi::xml_attribute a : node.attributes()) {
      const std::string key = ToLowerAscii(a.name());
      w->values[key] = Utils::Utf8ToWide(a.value());
      const auto it = WindowSetters().find(key);
      if (it != WindowSetters().end() && !it->second(w, a.value())) return BadValue(node, a, error);
    }
    return true;
  }

  bool ReadFont(const pugi::xml_node& node, FontTable* fonts, BuildError* error) {
    FontSpec spec;
    int id = static_cast<int>(fonts->fonts.size());
    bool is_default = false;
    for (pugi::xml_attribute a : node.attributes()) {
      const std::string key = ToLowerAscii(a.name());
      bool ok = true;
      if (key == "id") {
        ok = ParseIntValue(a.value(), &id);
      } else if (key == "name") {
        spec.name = Utils::Utf8ToWide(a.value());
      } else if (key == "size") {
        ok = ParseIntValue(a.value(), &spec.size) && spec.size > 0;
      } else if (key == "bold") {
        ok = ParseBoolValue(a.value(), &spec.bold);
      } else if (key == "underline") {
        ok = ParseBoolValue(a.value(), &spec.underline);
      } else if (key == "italic") {
        ok = ParseBoolValue(a.value(), &spec.italic);
      } else if (key == "default") {
        ok = ParseBoolValue(a.value(), &is_default);
      }
      if (!ok) return BadValue(node, a, error);
    }
    fonts->fonts[id] = spec;
    if (is_default || fonts->default_id < 0) {
      if (is_default || fonts->fonts.size() == 1) fonts->default_id = id;
    }
    return true;
  }

  std::unique_ptr<Control> Create(const char* element) {
    const auto it = BuiltInControls().find(ToLowerAscii(element));
    if (it != BuiltInControls().end()) return it->second();
    if (callback_ == nullptr) return nullptr;
    return callback_->CreateCustomControl(Utils::Utf8ToWide(element));
  }

  bool BuildControl(const pugi::xml_node& node, int depth, std::unique_ptr<Control>* out,
                    BuildError* error) {
    if (depth > kMaxDepth) {
      return Fail(Offset(node), BuildStatus::kBadStructure, "layout nested too deeply", error);
    }
    std::unique_ptr<Control> control = Create(node.name());
    if (control == nullptr) {
      return Fail(Offset(node), BuildStatus::kUnknownElement,
                  std::string("unknown element ") + node.name(), error);
    }
    for (pugi::xml_attribute a : node.attributes()) {
      if (control->SetAttribute(a.name(), a.value()) == AttributeResult::kBadValue)
        return BadValue(node, a, error);
    }
    auto* container = static_cast<Container*>(control->GetInterface(L"Container"));
    for (pugi::xml_node child : node.children()) {
      if (child.type() != pugi::node_element) continue;
      if (container == nullptr) {
        return Fail(Offset(child), BuildStatus::kBadStructure,
                    std::string(node.name()) + " cannot hold child elements", error);
      }
      std::unique_ptr<Control> built;
      if (!BuildControl(child, depth + 1, &built, error)) return false;
      container->Add(std::move(built));
    }
    *out = std::move(control);
    return true;
  }

  std::string_view xml_;
  IBuilderCallback* callback_;
};

}  // namespace

std::wstring WindowAttributes::Get(std::string_view name) const {
  const auto it = values.find(ToLowerAscii(name));
  return it == values.end() ? std::wstring() : it->second;
}

bool WindowAttributes::Has(std::string_view name) const {
  return values.count(ToLowerAscii(name)) != 0;
}

bool BuildLayout(std::string_view xml, IBuilderCallback* callback, Layout* out, BuildError* error) {
  return Builder(xml, callback).Run(out, error);
}

void OffsetToLineColumn(std::string_view text, std::size_t offset, int* line, int* column) {
  offset = std::min(offset, text.size());
  int l = 1;
  std::size_t line_start = 0;
  for (std::size_t i = 0; i < offset; ++i) {
    if (text[i] == '\n') {
      ++l;
      line_start = i + 1;
    }
  }
  *line = l;
  *column = static_cast<int>(offset - line_start) + 1;
}

}  // namespace skinui
