// Containers: own their children and place them. Container itself stacks
// every child over its inner rectangle; VerticalLayout and HorizontalLayout
// line them up, TabLayout shows one at a time.
//
// Layout rule of the lines: children with a fixed size along the line get
// it, "padding" is an outer margin around each child, "childpadding" a gap
// between neighbours, and the space that remains is shared out evenly among
// the children without a size (the last one takes the rounding rest).
// Across the line a child takes its fixed size, or the whole inner width /
// height less its margins. Hidden children take no space. A child with
// "float" is placed at its "pos" relative to the container's top-left.
//
// Threads: UI thread only. Ownership: the container owns its children.
#pragma once

#include <memory>
#include <vector>

#include "skinui/core/control.h"

namespace skinui {

class Container : public Control {
 public:
  Container() = default;
  ~Container() override;

  std::wstring_view GetClass() const override { return L"Container"; }
  void* GetInterface(std::wstring_view name) override;
  const AttributeRegistry& Attributes() const override;
  static const AttributeRegistry& ClassAttributes();

  // Takes ownership; the child gets this container's host.
  void Add(std::unique_ptr<Control> child);
  // Removes and destroys the child; false when it is not a child.
  bool Remove(Control* child);
  int Count() const { return static_cast<int>(children_.size()); }
  Control* ItemAt(int index) const;
  int IndexOf(const Control* child) const;

  const Rect& Inset() const { return inset_; }
  void SetInset(const Rect& inset) { inset_ = inset; }
  int ChildPadding() const { return child_padding_; }
  void SetChildPadding(int gap) { child_padding_ = gap; }

  Control* FindByName(std::wstring_view name) override;
  Control* FindAt(Point p) override;
  void Init() override;
  void SetPos(const Rect& r) override;
  void Paint(Canvas& canvas) override;

  // Places the children inside `inner` (the position less the inset).
  virtual void LayoutChildren(const Rect& inner);

 protected:
  void PlaceFloat(Control* child, const Rect& inner);

  std::vector<std::unique_ptr<Control>> children_;
  Rect inset_;
  int child_padding_ = 0;

 private:
  friend struct ContainerAttributes;
};

class VerticalLayout : public Container {
 public:
  std::wstring_view GetClass() const override { return L"VerticalLayout"; }
  void* GetInterface(std::wstring_view name) override;
  void LayoutChildren(const Rect& inner) override;
};

class HorizontalLayout : public Container {
 public:
  std::wstring_view GetClass() const override { return L"HorizontalLayout"; }
  void* GetInterface(std::wstring_view name) override;
  void LayoutChildren(const Rect& inner) override;
};

// Shows the selected child only; selecting another one sends "tabselect"
// (wparam = new index, lparam = previous index).
class TabLayout : public Container {
 public:
  std::wstring_view GetClass() const override { return L"TabLayout"; }
  void* GetInterface(std::wstring_view name) override;
  const AttributeRegistry& Attributes() const override;
  static const AttributeRegistry& ClassAttributes();

  int CurSel() const { return selected_; }
  // False for an index out of range. Selecting the current page does nothing.
  bool SelectItem(int index);
  void Init() override;

 private:
  friend struct TabAttributes;
  void ApplySelection();
  int selected_ = 0;
};

}  // namespace skinui
