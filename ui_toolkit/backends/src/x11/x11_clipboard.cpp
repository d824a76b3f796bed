// The CLIPBOARD selection: owning it for SetClipboardText (answering other
// clients' requests for UTF8_STRING, STRING and TARGETS) and reading another
// owner's text with ConvertSelection and a bounded wait.
#include <X11/Xatom.h>
#include <poll.h>

#include "utils/text.h"
#include "x11/x11_backend.h"

namespace skinui {
namespace x11 {
namespace {

constexpr std::uint64_t kSelectionWaitMs = 1000;

}  // namespace

void X11Backend::SetClipboardText(const std::wstring& text) {
  clipboard_utf8_ = Utils::WideToUtf8(text);
  XSetSelectionOwner(display_, atoms_.clipboard, clipboard_window_, CurrentTime);
  owns_clipboard_ = XGetSelectionOwner(display_, atoms_.clipboard) == clipboard_window_;
  XFlush(display_);
}

std::wstring X11Backend::ClipboardText() {
  if (owns_clipboard_) return Utils::Utf8ToWide(clipboard_utf8_);
  if (XGetSelectionOwner(display_, atoms_.clipboard) == None) return std::wstring();
  XDeleteProperty(display_, clipboard_window_, atoms_.selection_property);
  XConvertSelection(display_, atoms_.clipboard, atoms_.utf8_string, atoms_.selection_property,
                    clipboard_window_, CurrentTime);
  XFlush(display_);
  // Other events stay queued for the loop while this waits for the answer.
  const std::uint64_t deadline = NowMs() + kSelectionWaitMs;
  XEvent event;
  while (!XCheckTypedWindowEvent(display_, clipboard_window_, SelectionNotify, &event)) {
    const std::uint64_t now = NowMs();
    if (now >= deadline) return std::wstring();
    pollfd fd{ConnectionNumber(display_), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(deadline - now));
  }
  if (event.xselection.property == None) return std::wstring();
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  std::wstring text;
  if (XGetWindowProperty(display_, clipboard_window_, atoms_.selection_property, 0, 1 << 20, True,
                         AnyPropertyType, &type, &format, &count, &after, &data) == Success &&
      data && format == 8)
    text = Utils::Utf8ToWide(std::string(reinterpret_cast<char*>(data), count));
  if (data) XFree(data);
  return text;
}

void X11Backend::HandleSelectionRequest(const XSelectionRequestEvent& request) {
  XSelectionEvent reply{};
  reply.type = SelectionNotify;
  reply.requestor = request.requestor;
  reply.selection = request.selection;
  reply.target = request.target;
  reply.time = request.time;
  reply.property = None;
  const Atom property = request.property != None ? request.property : request.target;
  if (owns_clipboard_ && request.selection == atoms_.clipboard) {
    if (request.target == atoms_.targets) {
      Atom targets[] = {atoms_.targets, atoms_.utf8_string, XA_STRING};
      XChangeProperty(display_, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<unsigned char*>(targets), 3);
      reply.property = property;
    } else if (request.target == atoms_.utf8_string || request.target == XA_STRING) {
      XChangeProperty(display_, request.requestor, property, request.target, 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(clipboard_utf8_.data()),
                      static_cast<int>(clipboard_utf8_.size()));
      reply.property = property;
    }
  }
  XSendEvent(display_, request.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
  XFlush(display_);
}

}  // namespace x11
}  // namespace skinui
