// Image descriptions: the value of an image attribute ("bkimage",
// "normalimage", ...). Either a plain path ("res\mainWnd\bg1.png") or a list
// of key='value' pairs separated by white space:
//
//   file='res\a.png' dest='0,2,16,18' corner='2,2,2,2' mask='#FF0000'
//   fade='128' hole='false' xtiled='true' ytiled='false'
//
// The text is a key list exactly when it contains "='" (a path never does).
// Keys are compared without regard to case. Unknown keys are ignored, as a
// skin designer expects of a lenient format; an unterminated quote, a key
// without "='", a malformed number list, a bad colour, a fade outside 0..255
// or a boolean other than true/false (any case) is an error reported with
// the byte offset where the bad part starts. Paths keep "\" as written (skin
// sources treat "\" and "/" alike).
//
// Threads: pure function, any thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "skinui/geometry.h"
#include "skinui/surface.h"

namespace skinui {

struct ImageDescription {
  std::string file;
  bool has_dest = false;
  Rect dest;          // l,t,r,b relative to the control's top-left
  Rect corner;        // nine-grid insets l,t,r,b (all 0: plain stretch)
  bool has_mask = false;
  Argb mask = 0;      // source pixels of exactly this RGB become transparent
  int fade = 255;     // constant alpha multiplied into the source
  bool hole = false;  // nine-grid without its middle cell
  bool xtiled = false;
  bool ytiled = false;
};

struct DescriptionError {
  std::size_t offset = 0;  // byte offset into the text
  std::string message;
};

// Fills *out (reset first) from `text`. On failure returns false, fills
// *error when it is not null and leaves *out in an unspecified state.
bool ParseImageDescription(std::string_view text, ImageDescription* out, DescriptionError* error);

}  // namespace skinui
