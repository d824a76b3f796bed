// CWindowShadow: a soft drop shadow drawn by a layered companion window
// around a skinned window that has no system frame.
//
// The shadow follows its parent by seeing the parent's messages first
// (moves, sizes, shows, activation, destruction) and redraws its bitmap only
// when needed: on activation, at the end of a move-or-size loop, on a
// shrinking resize, on the first paint after a growing resize or a show, and
// when a parameter changes while it is visible. Plain moves only reposition
// the layered window.
//
// Threads: UI thread only. Ownership: one shadow per skinned window, owned by
// it; the parent window is borrowed and must outlive the shadow or be
// destroyed first (its kWmNcDestroy unregisters it). A process-wide registry
// maps each parent's native handle to its shadow.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "skinui/core/backend.h"
#include "skinui/core/messages.h"
#include "skinui/geometry.h"
#include "skinui/shadow/shadow_host.h"
#include "skinui/shadow/shadow_render.h"
#include "skinui/skin_source.h"
#include "skinui/surface.h"

namespace skinui {

enum class ShadowAttachResult {
  kAttached = 0,
  kLayeredUnavailable,  // no per-pixel-alpha windows: nothing is done
  kAlreadyAttached,     // this shadow already follows a window
  kNoParent,            // null parent or parent without a native window
  kWindowRefused,       // the window system refused the shadow window
};

enum class ShadowImageResult {
  kApplied = 0,
  kNotFound,     // the skin has no such file (or it could not be read)
  kUndecodable,  // the file is not a decodable PNG
};

class CWindowShadow {
 public:
  // Status bits.
  static constexpr std::uint32_t kEnabled = 1;
  static constexpr std::uint32_t kVisible = 2;        // the shadow window is shown
  static constexpr std::uint32_t kParentVisible = 4;  // the parent is shown

  // Parameter ranges; setters refuse values outside them.
  static constexpr int kMaxDarkness = 255;
  static constexpr int kMaxSharpness = 20;
  static constexpr int kMaxSize = 20;
  static constexpr int kMaxOffset = 20;

  // With the platform's host.
  CWindowShadow();
  // With a given host (tests).
  explicit CWindowShadow(std::unique_ptr<ShadowHost> host);
  // Posts WM_CLOSE to the shadow window when it still exists, unhooks the
  // parent and frees the image.
  virtual ~CWindowShadow();
  CWindowShadow(const CWindowShadow&) = delete;
  CWindowShadow& operator=(const CWindowShadow&) = delete;

  // Once per process, at start-up: registers the shadow window class.
  // False when done before or when layered windows are not available.
  static bool RegisterShadowClass(void* instance);

  // The shadow of the parent whose native handle is `parent_handle`, or null.
  static CWindowShadow* FindShadow(const void* parent_handle);

  // Creates the shadow for `parent`: registers it, creates the hidden shadow
  // window, takes the status from the parent (hidden: enabled; shown but
  // maximised or minimised: enabled and parent visible; shown: all three
  // bits, the shadow is shown without activation and drawn) and hooks the
  // parent's messages.
  ShadowAttachResult AttachToParent(PlatformWindow* parent);

  // Each checks its range, returns false and changes nothing outside it,
  // otherwise stores the value and redraws when the shadow is visible.
  bool ApplyDarkness(int darkness);      // 0..255
  bool ApplySharpness(int sharpness);    // 0..20
  bool ApplySize(int size);              // -20..20
  bool ApplyOffset(int x, int y);        // -20..20 each
  bool ApplyColour(ColourRef colour);    // COLORREF, red in the lowest byte
  // Reads `path` from `source` and decodes it; `corners` are the nine-grid
  // corner sizes (left, top, right, bottom) and `hole_offsets` how far the
  // image reaches beyond the window on each side. A file that cannot be
  // read or decoded is refused and the previous image stays.
  ShadowImageResult ApplyImage(const SkinSource& source, std::string_view path,
                               const Rect& corners, const Rect& hole_offsets);

  // Recomputes the bitmap and shows it at the position rule: with an image
  // (parent left - left hole offset, parent top - top hole offset), else
  // (parent left + offset x - size, parent top + offset y - size). Does
  // nothing when the shadow window is gone.
  void Refresh();

  // The parent procedure's table: called with each of the parent's messages
  // before the parent handles it.
  void OnParentMessage(const Message& message);

  std::uint32_t Status() const { return status_; }
  bool UpdatePending() const { return update_pending_; }
  Size LastClientSize() const { return last_size_; }
  const ShadowParams& Params() const { return params_; }
  bool HasImage() const { return image_.Width() > 0; }
  const Rect& ImageCorners() const { return image_corners_; }
  const Rect& HoleOffsets() const { return hole_offsets_; }
  // The last bitmap drawn by Refresh (top-down) and where it was placed.
  const Surface& LastBitmap() const { return bitmap_; }
  Point ShadowPosition() const;

 private:
  void Unregister();
  void ParentSized(const Message& message);
  void ParentShown(bool showing);
  void RefreshIfVisible();

  std::unique_ptr<ShadowHost> host_;
  PlatformWindow* parent_ = nullptr;
  void* parent_handle_ = nullptr;
  std::uint32_t status_ = 0;
  bool update_pending_ = false;
  Size last_size_;
  ShadowParams params_;
  Surface image_;
  Rect image_corners_;
  Rect hole_offsets_;
  Surface bitmap_;
};

}  // namespace skinui
