// Integer geometry shared by every layer of the toolkit. Plain values: any
// thread, no ownership. Rectangles are half-open: right and bottom are one
// past the last pixel, as Windows' RECT.
#pragma once

#include <algorithm>

namespace skinui {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }
  friend bool operator!=(const Point& a, const Point& b) { return !(a == b); }
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size& a, const Size& b) {
    return a.width == b.width && a.height == b.height;
  }
  friend bool operator!=(const Size& a, const Size& b) { return !(a == b); }
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  static Rect FromSize(int x, int y, int w, int h) { return Rect{x, y, x + w, y + h}; }

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }

  Rect Intersect(const Rect& o) const {
    Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
           std::min(bottom, o.bottom)};
    return r.IsEmpty() ? Rect{} : r;
  }
  // Smallest rectangle holding both; an empty side does not count.
  Rect Union(const Rect& o) const {
    if (IsEmpty()) return o;
    if (o.IsEmpty()) return *this;
    return Rect{std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
                std::max(bottom, o.bottom)};
  }
  Rect Offset(int dx, int dy) const { return Rect{left + dx, top + dy, right + dx, bottom + dy}; }
  // Shrinks by the four insets (padding, text padding).
  Rect Deflate(const Rect& in) const {
    return Rect{left + in.left, top + in.top, right - in.right, bottom - in.bottom};
  }

  friend bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  }
  friend bool operator!=(const Rect& a, const Rect& b) { return !(a == b); }
};

}  // namespace skinui
