// The shadow's state machine: parameters, status bits, the parent-message
// table and the bitmap refresh. Everything window-system specific goes
// through the ShadowHost.
#include "skinui/shadow/window_shadow.h"

#include <map>
#include <utility>
#include <vector>

#include "skinui/painter/image.h"
#include "skinui/painter/region.h"

namespace skinui {
namespace {

// Parent native handle -> its shadow. UI thread only.
std::map<const void*, CWindowShadow*>& Registry() {
  static std::map<const void*, CWindowShadow*> registry;
  return registry;
}

bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }

}  // namespace

CWindowShadow::CWindowShadow() : CWindowShadow(CreatePlatformShadowHost()) {}

CWindowShadow::CWindowShadow(std::unique_ptr<ShadowHost> host) : host_(std::move(host)) {}

CWindowShadow::~CWindowShadow() {
  if (host_) {
    host_->UnhookParent();
    if (host_->ShadowWindowExists()) host_->CloseShadowWindow();
  }
  Unregister();
}

bool CWindowShadow::RegisterShadowClass(void* instance) {
  return RegisterPlatformShadowClass(instance);
}

CWindowShadow* CWindowShadow::FindShadow(const void* parent_handle) {
  auto it = Registry().find(parent_handle);
  return it == Registry().end() ? nullptr : it->second;
}

void CWindowShadow::Unregister() {
  if (!parent_handle_) return;
  auto it = Registry().find(parent_handle_);
  if (it != Registry().end() && it->second == this) Registry().erase(it);
  parent_handle_ = nullptr;
}

ShadowAttachResult CWindowShadow::AttachToParent(PlatformWindow* parent) {
  if (!host_ || !host_->LayeredWindowsAvailable()) return ShadowAttachResult::kLayeredUnavailable;
  if (parent_) return ShadowAttachResult::kAlreadyAttached;
  if (!parent || !parent->IsAlive()) return ShadowAttachResult::kNoParent;
  parent_ = parent;
  parent_handle_ = parent->NativeHandle();
  Registry()[parent_handle_] = this;
  if (!host_->CreateShadowWindow(parent)) {
    Unregister();
    parent_ = nullptr;
    return ShadowAttachResult::kWindowRefused;
  }
  const std::uint32_t style = parent->Style();
  if (!(style & kWsVisible)) {
    status_ = kEnabled;
  } else if (style & (kWsMaximize | kWsMinimize)) {
    status_ = kEnabled | kParentVisible;
  } else {
    status_ = kEnabled | kVisible | kParentVisible;
    host_->ShowShadowWindow(true);
    Refresh();
  }
  host_->HookParent(parent, this);
  return ShadowAttachResult::kAttached;
}

void CWindowShadow::RefreshIfVisible() {
  if (status_ & kVisible) Refresh();
}

bool CWindowShadow::ApplyDarkness(int darkness) {
  if (!InRange(darkness, 0, kMaxDarkness)) return false;
  params_.darkness = darkness;
  RefreshIfVisible();
  return true;
}

bool CWindowShadow::ApplySharpness(int sharpness) {
  if (!InRange(sharpness, 0, kMaxSharpness)) return false;
  params_.sharpness = sharpness;
  RefreshIfVisible();
  return true;
}

bool CWindowShadow::ApplySize(int size) {
  if (!InRange(size, -kMaxSize, kMaxSize)) return false;
  params_.size = size;
  RefreshIfVisible();
  return true;
}

bool CWindowShadow::ApplyOffset(int x, int y) {
  if (!InRange(x, -kMaxOffset, kMaxOffset) || !InRange(y, -kMaxOffset, kMaxOffset)) return false;
  params_.offsetX = x;
  params_.offsetY = y;
  RefreshIfVisible();
  return true;
}

bool CWindowShadow::ApplyColour(ColourRef colour) {
  params_.colour = colour;
  RefreshIfVisible();
  return true;
}

ShadowImageResult CWindowShadow::ApplyImage(const SkinSource& source, std::string_view path,
                                            const Rect& corners, const Rect& hole_offsets) {
  std::vector<std::uint8_t> bytes;
  if (source.Read(path, &bytes) != SkinReadResult::kOk) return ShadowImageResult::kNotFound;
  Image decoded;
  if (!DecodePng(bytes.data(), bytes.size(), &decoded, nullptr) || decoded.width <= 0 ||
      decoded.height <= 0)
    return ShadowImageResult::kUndecodable;
  image_.Resize(decoded.width, decoded.height);
  for (int y = 0; y < decoded.height; ++y)
    std::copy(decoded.Row(y), decoded.Row(y) + decoded.width, image_.Row(y));
  image_corners_ = corners;
  hole_offsets_ = hole_offsets;
  RefreshIfVisible();
  return ShadowImageResult::kApplied;
}

Point CWindowShadow::ShadowPosition() const {
  const Rect r = parent_ ? parent_->Bounds() : Rect{};
  if (HasImage()) return Point{r.left - hole_offsets_.left, r.top - hole_offsets_.top};
  return Point{r.left + params_.offsetX - params_.size, r.top + params_.offsetY - params_.size};
}

void CWindowShadow::Refresh() {
  if (!host_ || !parent_ || !host_->ShadowWindowExists()) return;
  const Rect r = parent_->Bounds();
  const Size window{r.Width(), r.Height()};
  if (HasImage()) {
    bitmap_.Resize(window.width + hole_offsets_.left + hole_offsets_.right,
                   window.height + hole_offsets_.top + hole_offsets_.bottom);
    DrawNineGrid(image_, image_corners_, &bitmap_);
  } else {
    RenderShadow(RoundRectRowSpans(window, parent_->RoundRegion()), window.width, params_,
                 &bitmap_);
  }
  // A shadow larger inward than the window has no pixels: nothing to show.
  if (bitmap_.Width() == 0 || bitmap_.Height() == 0) return;
  host_->PresentShadow(bitmap_, ShadowPosition());
}

void CWindowShadow::ParentSized(const Message& message) {
  if (!(status_ & kEnabled)) return;
  const Size size = UnpackSize(message.lparam);
  if (message.wparam == kSizeMaximized || message.wparam == kSizeMinimized) {
    host_->ShowShadowWindow(false);
    status_ &= ~kVisible;
  } else if (status_ & kParentVisible) {
    // A growing window's region is only settled by its next paint.
    if (size.width > last_size_.width || size.height > last_size_.height)
      update_pending_ = true;
    else
      Refresh();
    if (!(status_ & kVisible)) {
      host_->ShowShadowWindow(true);
      status_ |= kVisible;
    }
  }
  last_size_ = size;
}

void CWindowShadow::ParentShown(bool showing) {
  if (!(status_ & kEnabled)) return;
  if (!showing) {
    host_->ShowShadowWindow(false);
    status_ &= ~(kVisible | kParentVisible);
  } else if (!(status_ & kParentVisible)) {
    update_pending_ = true;
    host_->ShowShadowWindow(true);
    status_ |= kVisible | kParentVisible;
  }
}

void CWindowShadow::OnParentMessage(const Message& message) {
  if (!host_) return;
  switch (message.id) {
    case kWmDestroy:
      host_->DestroyShadowWindow();
      break;
    case kWmMove:
      if (status_ & kVisible) host_->MoveShadowWindow(ShadowPosition());
      break;
    case kWmSize:
      ParentSized(message);
      break;
    case kWmPaint:
      if (update_pending_) {
        Refresh();
        update_pending_ = false;
      }
      break;
    case kWmShowWindow:
      ParentShown(message.wparam != 0);
      break;
    case kWmActivate:
    case kWmExitSizeMove:
      RefreshIfVisible();
      break;
    case kWmNcDestroy:
      Unregister();
      host_->UnhookParent();
      parent_ = nullptr;
      break;
    default:
      break;
  }
}

}  // namespace skinui
