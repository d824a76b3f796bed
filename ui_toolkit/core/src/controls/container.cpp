#include "skinui/core/container.h"

#include "skinui/core/attribute_parse.h"
#include "skinui/painter/canvas.h"

namespace skinui {

struct ContainerAttributes {
  static bool InsetAttr(Control& c, std::string_view v) {
    return ParseRectValue(v, &static_cast<Container&>(c).inset_);
  }
  static bool ChildPaddingAttr(Control& c, std::string_view v) {
    return ParseIntValue(v, &static_cast<Container&>(c).child_padding_);
  }
};

Container::~Container() {
  // Children go first, while this container still exists for their hosts.
  children_.clear();
}

void* Container::GetInterface(std::wstring_view name) {
  if (EqualsNoCase(name, std::wstring_view(L"Container"))) return this;
  return Control::GetInterface(name);
}

const AttributeRegistry& Container::ClassAttributes() {
  static const AttributeRegistry registry = [] {
    AttributeRegistry r(&Control::ClassAttributes());
    r.Add("inset", ContainerAttributes::InsetAttr);
    r.Add("childpadding", ContainerAttributes::ChildPaddingAttr);
    return r;
  }();
  return registry;
}

const AttributeRegistry& Container::Attributes() const { return ClassAttributes(); }

void Container::Add(std::unique_ptr<Control> child) {
  child->SetParent(this);
  child->SetHost(Host());
  children_.push_back(std::move(child));
  if (Host() != nullptr) Host()->NeedLayout();
}

bool Container::Remove(Control* child) {
  for (auto it = children_.begin(); it != children_.end(); ++it) {
    if (it->get() != child) continue;
    const Rect was = child->Pos();
    children_.erase(it);
    if (Host() != nullptr) {
      Host()->NeedLayout();
      Host()->Invalidate(was);
    }
    return true;
  }
  return false;
}

Control* Container::ItemAt(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return children_[static_cast<std::size_t>(index)].get();
}

int Container::IndexOf(const Control* child) const {
  for (int i = 0; i < Count(); ++i) {
    if (children_[static_cast<std::size_t>(i)].get() == child) return i;
  }
  return -1;
}

Control* Container::FindByName(std::wstring_view name) {
  if (Control* self = Control::FindByName(name)) return self;
  for (const auto& child : children_) {
    if (Control* found = child->FindByName(name)) return found;
  }
  return nullptr;
}

Control* Container::FindAt(Point p) {
  if (!IsVisible() || !Pos().Contains(p)) return nullptr;
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
    if (Control* found = (*it)->FindAt(p)) return found;
  }
  return this;
}

void Container::Init() {
  Control::Init();
  for (const auto& child : children_) {
    child->SetHost(Host());
    child->Init();
  }
}

void Container::SetPos(const Rect& r) {
  Control::SetPos(r);
  LayoutChildren(r.Deflate(inset_));
}

void Container::PlaceFloat(Control* child, const Rect& inner) {
  const Rect& p = child->FloatPos();
  child->SetPos(p.Offset(inner.left, inner.top));
}

void Container::LayoutChildren(const Rect& inner) {
  for (const auto& child : children_) {
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      PlaceFloat(child.get(), inner);
      continue;
    }
    Rect r = inner.Deflate(child->Padding());
    if (child->FixedWidth() > 0) r.right = r.left + child->FixedWidth();
    if (child->FixedHeight() > 0) r.bottom = r.top + child->FixedHeight();
    child->SetPos(r);
  }
}

void Container::Paint(Canvas& canvas) {
  if (!IsVisible() || Pos().Intersect(canvas.Clip()).IsEmpty()) return;
  Control::Paint(canvas);
  canvas.PushClip(Pos());
  for (const auto& child : children_) child->Paint(canvas);
  canvas.PopClip();
}

namespace {

// One line of children, measured along one axis: `along` gives a child's
// fixed size on that axis, `before`/`after` its margins there.
struct LineShare {
  int flexible = 0;
  int each = 0;
  int rest = 0;
};

template <class FixedFn, class MarginFn>
LineShare ShareLine(const std::vector<std::unique_ptr<Control>>& children, int length, int gap,
                    FixedFn fixed, MarginFn margins) {
  LineShare share;
  int used = 0;
  int shown = 0;
  for (const auto& child : children) {
    if (!child->IsVisible() || child->IsFloat()) continue;
    ++shown;
    used += margins(*child);
    if (fixed(*child) > 0) {
      used += fixed(*child);
    } else {
      ++share.flexible;
    }
  }
  if (shown > 1) used += gap * (shown - 1);
  const int remaining = std::max(0, length - used);
  if (share.flexible > 0) {
    share.each = remaining / share.flexible;
    share.rest = remaining - share.each * share.flexible;
  }
  return share;
}

}  // namespace

void* VerticalLayout::GetInterface(std::wstring_view name) {
  if (EqualsNoCase(name, std::wstring_view(L"VerticalLayout"))) return this;
  return Container::GetInterface(name);
}

void VerticalLayout::LayoutChildren(const Rect& inner) {
  const LineShare share = ShareLine(
      children_, inner.Height(), child_padding_, [](const Control& c) { return c.FixedHeight(); },
      [](const Control& c) { return c.Padding().top + c.Padding().bottom; });
  int y = inner.top;
  int flexible_seen = 0;
  for (const auto& child : children_) {
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      PlaceFloat(child.get(), inner);
      continue;
    }
    const Rect& pad = child->Padding();
    int h = child->FixedHeight();
    if (h == 0) h = share.each + (++flexible_seen == share.flexible ? share.rest : 0);
    const int x = inner.left + pad.left;
    const int w = child->FixedWidth() > 0 ? child->FixedWidth()
                                          : std::max(0, inner.Width() - pad.left - pad.right);
    y += pad.top;
    child->SetPos(Rect::FromSize(x, y, w, h));
    y += h + pad.bottom + child_padding_;
  }
}

void* HorizontalLayout::GetInterface(std::wstring_view name) {
  if (EqualsNoCase(name, std::wstring_view(L"HorizontalLayout"))) return this;
  return Container::GetInterface(name);
}

void HorizontalLayout::LayoutChildren(const Rect& inner) {
  const LineShare share = ShareLine(
      children_, inner.Width(), child_padding_, [](const Control& c) { return c.FixedWidth(); },
      [](const Control& c) { return c.Padding().left + c.Padding().right; });
  int x = inner.left;
  int flexible_seen = 0;
  for (const auto& child : children_) {
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      PlaceFloat(child.get(), inner);
      continue;
    }
    const Rect& pad = child->Padding();
    int w = child->FixedWidth();
    if (w == 0) w = share.each + (++flexible_seen == share.flexible ? share.rest : 0);
    const int y = inner.top + pad.top;
    const int h = child->FixedHeight() > 0 ? child->FixedHeight()
                                           : std::max(0, inner.Height() - pad.top - pad.bottom);
    x += pad.left;
    child->SetPos(Rect::FromSize(x, y, w, h));
    x += w + pad.right + child_padding_;
  }
}

}  // namespace skinui
