// tv-skin-render: builds one layout of a skin in an offscreen window of the
// headless backend and writes the frame as PNG. Exit codes: 0 written,
// 1 bad command line, 2 skin not opened, 3 layout not built, 4 a named
// control missing, 5 PNG not written.
#include <cstdio>
#include <memory>
#include <string>

#include "render_options.h"
#include "skinui/archive/open_skin_source.h"
#include "skinui/core/container.h"
#include "skinui/core/headless_backend.h"
#include "skinui/core/skin_setup.h"
#include "skinui/core/window_base.h"
#include "utils/text.h"

namespace {

using namespace skinui;

class RenderWindow : public SkinWindowBase {
 public:
  explicit RenderWindow(std::wstring file) : file_(std::move(file)) {}
  std::wstring WindowClassName() const override { return L"SkinRender"; }
  std::wstring SkinFile() const override { return file_; }

 private:
  std::wstring file_;
};

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "tv-skin-render: %s\n", message.c_str());
  return code;
}

Control* Named(RenderWindow& window, const std::string& name) {
  return window.FindControl(Utils::Utf8ToWide(name));
}

int Run(const tools::RenderOptions& options) {
  SkinSourceOpenResult opened = OpenSkinSource(std::filesystem::u8path(options.skin));
  if (opened.error != SkinOpenError::kOk) return Fail(2, opened.text);
  InstallSkinSource(std::move(opened.source));

  auto owned = std::make_unique<HeadlessBackend>();
  HeadlessBackend* backend = owned.get();
  Backend::Install(std::move(owned));

  RenderWindow window(Utils::Utf8ToWide(options.layout));
  if (!window.Create(nullptr, L"tv-skin-render", kWsPopup | kWsVisible, 0))
    return Fail(3, "no window");
  if (window.LayoutError().status != BuildStatus::kOk)
    return Fail(3, options.layout + ": " + window.LayoutError().message);
  HeadlessWindow* native = static_cast<HeadlessWindow*>(window.Window());
  if (options.size.width > 0) {
    const Rect b = native->Bounds();
    native->SetBounds(Rect::FromSize(b.left, b.top, options.size.width, options.size.height), true);
  }
  if (native->ClientSize().width <= 0 || native->ClientSize().height <= 0)
    return Fail(3, options.layout + ": the layout gives no size (use --size WxH)");
  backend->RunUntilIdle();

  for (const auto& [name, index] : options.tabs) {
    Control* c = Named(window, name);
    auto* tab = c != nullptr ? static_cast<TabLayout*>(c->GetInterface(L"TabLayout")) : nullptr;
    if (tab == nullptr) return Fail(4, "no tab layout named " + name);
    if (!tab->SelectItem(index)) return Fail(4, name + " has no page " + std::to_string(index));
  }
  backend->RunUntilIdle();
  if (!options.hover.empty()) {
    Control* c = Named(window, options.hover);
    if (c == nullptr) return Fail(4, "no control named " + options.hover);
    const Rect& r = c->Pos();
    native->MoveMouse(Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  }
  backend->RunUntilIdle();
  if (options.time_ms > 0) {
    backend->AdvanceClock(static_cast<std::uint64_t>(options.time_ms));
    backend->RunUntilIdle();
  }
  native->Invalidate(Rect{0, 0, native->ClientSize().width, native->ClientSize().height});
  native->PaintNow();
  std::string error;
  if (!native->SaveFramePng(options.output, &error)) return Fail(5, error);
  std::printf("%s: %dx%d frame of %s written to %s\n", options.skin.c_str(),
              native->ClientSize().width, native->ClientSize().height, options.layout.c_str(),
              options.output.c_str());
  window.DestroyWindow();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  tools::RenderOptions options;
  std::string error;
  if (!tools::ParseRenderOptions(argc, argv, &options, &error)) {
    std::fprintf(stderr, "tv-skin-render: %s\n%s", error.c_str(), tools::kRenderUsage);
    return 1;
  }
  const int code = Run(options);
  Backend::Install(nullptr);
  return code;
}
