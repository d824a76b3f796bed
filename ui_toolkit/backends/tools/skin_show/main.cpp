// tv-skin-show: shows one layout of a skin in a real window of the
// platform's backend (X11 or Win32), with its drop shadow when the layout
// asks for one, for a number of seconds; used to take screenshots of skins.
// Usage: tv-skin-show SKIN LAYOUT [--seconds N]
// Exit codes: 0 shown, 1 bad command line, 2 skin not opened, 3 no window
// system or the layout not built.
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>

#include "skinui/archive/open_skin_source.h"
#include "skinui/core/skin_setup.h"
#include "skinui/core/window_base.h"
#include "skinui/shadow/window_shadow.h"
#include "utils/text.h"

namespace {

using namespace skinui;

constexpr std::uintptr_t kEndTimer = 0x5EE;

// Integers of a comma-separated attribute ("1,1"); missing ones stay 0.
void ReadInts(const std::wstring& text, int* out, int count) {
  const wchar_t* p = text.c_str();
  for (int i = 0; i < count && *p; ++i) {
    wchar_t* end = nullptr;
    out[i] = static_cast<int>(std::wcstol(p, &end, 10));
    p = (end && *end == L',') ? end + 1 : (end ? end : p);
  }
}

class ShowWindow : public SkinWindowBase {
 public:
  explicit ShowWindow(std::wstring file) : file_(std::move(file)) {}
  std::wstring WindowClassName() const override { return L"SkinShow"; }
  std::wstring SkinFile() const override { return file_; }

  // The layout's shadow attributes, applied as the installer's frame does.
  void OnLayoutLoaded() override {
    std::wstring show = WindowAttribute("showshadow");
    for (auto& c : show) c = static_cast<wchar_t>(std::towlower(c));
    if (show != L"true") return;
    const ShadowAttachResult attached = shadow_.AttachToParent(Window());
    std::fprintf(stderr, "tv-skin-show: shadow %s\n",
                 attached == ShadowAttachResult::kAttached ? "attached"
                                                           : "not shown (no layered windows)");
    auto number = [this](const char* name, bool (CWindowShadow::*apply)(int)) {
      const std::wstring v = WindowAttribute(name);
      if (!v.empty()) (shadow_.*apply)(static_cast<int>(std::wcstol(v.c_str(), nullptr, 10)));
    };
    number("shadowsize", &CWindowShadow::ApplySize);
    number("shadowsharpness", &CWindowShadow::ApplySharpness);
    number("shadowdarkness", &CWindowShadow::ApplyDarkness);
    const std::wstring position = WindowAttribute("shadowposition");
    if (!position.empty()) {
      int xy[2] = {0, 0};
      ReadInts(position, xy, 2);
      shadow_.ApplyOffset(xy[0], xy[1]);
    }
    std::wstring colour = WindowAttribute("shadowcolor");
    if (!colour.empty()) {
      if (colour[0] == L'#') colour.erase(0, 1);
      shadow_.ApplyColour(static_cast<ColourRef>(std::wcstoul(colour.c_str(), nullptr, 16)));
    }
  }

  std::intptr_t OnCustomMessage(std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam,
                                bool& handled) override {
    if (msg == kWmTimer && wparam == kEndTimer) {
      handled = true;
      Close(0);
      return 0;
    }
    return SkinWindowBase::OnCustomMessage(msg, wparam, lparam, handled);
  }

 private:
  std::wstring file_;
  CWindowShadow shadow_;
};

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "tv-skin-show: %s\n", message.c_str());
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && !(argc == 5 && std::string(argv[3]) == "--seconds"))
    return Fail(1, "usage: tv-skin-show SKIN LAYOUT [--seconds N]");
  const int seconds = argc == 5 ? std::atoi(argv[4]) : 5;
  if (seconds <= 0) return Fail(1, "--seconds wants a positive number");

  SkinSourceOpenResult opened = OpenSkinSource(std::filesystem::u8path(argv[1]));
  if (opened.error != SkinOpenError::kOk) return Fail(2, opened.text);
  InstallSkinSource(std::move(opened.source));

  std::unique_ptr<Backend> backend = CreatePlatformBackend();
  if (!backend) return Fail(3, "no window system (is DISPLAY set?)");
  Backend::Install(std::move(backend));
  CWindowShadow::RegisterShadowClass(nullptr);

  ShowWindow window(Utils::Utf8ToWide(argv[2]));
  if (!window.Create(nullptr, L"tv-skin-show", kWsPopup, 0)) return Fail(3, "no window");
  if (window.LayoutError().status != BuildStatus::kOk)
    return Fail(3, std::string(argv[2]) + ": " + window.LayoutError().message);
  window.CenterWindow();
  window.SetWindowTimer(kEndTimer, static_cast<unsigned>(seconds) * 1000u);
  window.ShowModal();
  return 0;
}
