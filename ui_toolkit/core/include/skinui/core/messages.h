// Window messages as the window base sees them. The identifiers, parameter
// packing and key codes are those of Win32, so the Win32 backend hands the
// real messages through unchanged and the X11 and headless backends build the
// same stream from their own events: the window base is written once.
//
// Plain values: any thread, no ownership.
#pragma once

#include <cstdint>

#include "skinui/geometry.h"

namespace skinui {

struct Message {
  std::uint32_t id = 0;
  std::uintptr_t wparam = 0;
  std::intptr_t lparam = 0;
};

// Message identifiers (Win32 values).
constexpr std::uint32_t kWmNull = 0x0000;
constexpr std::uint32_t kWmCreate = 0x0001;
constexpr std::uint32_t kWmDestroy = 0x0002;
constexpr std::uint32_t kWmMove = 0x0003;
constexpr std::uint32_t kWmSize = 0x0005;
constexpr std::uint32_t kWmActivate = 0x0006;
constexpr std::uint32_t kWmSetFocus = 0x0007;
constexpr std::uint32_t kWmKillFocus = 0x0008;
constexpr std::uint32_t kWmEnable = 0x000A;
constexpr std::uint32_t kWmPaint = 0x000F;
constexpr std::uint32_t kWmClose = 0x0010;
constexpr std::uint32_t kWmQuit = 0x0012;
constexpr std::uint32_t kWmEraseBkgnd = 0x0014;
constexpr std::uint32_t kWmShowWindow = 0x0018;
constexpr std::uint32_t kWmSetCursor = 0x0020;
constexpr std::uint32_t kWmGetMinMaxInfo = 0x0024;
constexpr std::uint32_t kWmNcCreate = 0x0081;
constexpr std::uint32_t kWmNcDestroy = 0x0082;
constexpr std::uint32_t kWmNcCalcSize = 0x0083;
constexpr std::uint32_t kWmNcHitTest = 0x0084;
constexpr std::uint32_t kWmNcPaint = 0x0085;
constexpr std::uint32_t kWmNcActivate = 0x0086;
constexpr std::uint32_t kWmKeyDown = 0x0100;
constexpr std::uint32_t kWmKeyUp = 0x0101;
constexpr std::uint32_t kWmChar = 0x0102;
constexpr std::uint32_t kWmSysKeyDown = 0x0104;
constexpr std::uint32_t kWmSysKeyUp = 0x0105;
constexpr std::uint32_t kWmSysChar = 0x0106;
constexpr std::uint32_t kWmImeStartComposition = 0x010D;
constexpr std::uint32_t kWmImeEndComposition = 0x010E;
constexpr std::uint32_t kWmImeComposition = 0x010F;
constexpr std::uint32_t kWmSysCommand = 0x0112;
constexpr std::uint32_t kWmTimer = 0x0113;
constexpr std::uint32_t kWmMouseMove = 0x0200;
constexpr std::uint32_t kWmLButtonDown = 0x0201;
constexpr std::uint32_t kWmLButtonUp = 0x0202;
constexpr std::uint32_t kWmLButtonDblClk = 0x0203;
constexpr std::uint32_t kWmRButtonDown = 0x0204;
constexpr std::uint32_t kWmRButtonUp = 0x0205;
constexpr std::uint32_t kWmMouseWheel = 0x020A;
constexpr std::uint32_t kWmCaptureChanged = 0x0215;
constexpr std::uint32_t kWmEnterSizeMove = 0x0231;
constexpr std::uint32_t kWmExitSizeMove = 0x0232;
constexpr std::uint32_t kWmMouseLeave = 0x02A3;
constexpr std::uint32_t kWmUser = 0x0400;
constexpr std::uint32_t kWmApp = 0x8000;

// WM_SIZE wparam.
constexpr std::uintptr_t kSizeRestored = 0;
constexpr std::uintptr_t kSizeMinimized = 1;
constexpr std::uintptr_t kSizeMaximized = 2;

// WM_ACTIVATE low word of wparam.
constexpr std::uintptr_t kWaInactive = 0;
constexpr std::uintptr_t kWaActive = 1;
constexpr std::uintptr_t kWaClickActive = 2;

// WM_SYSCOMMAND wparam (low four bits are reserved and masked off).
constexpr std::uintptr_t kScSize = 0xF000;
constexpr std::uintptr_t kScMove = 0xF010;
constexpr std::uintptr_t kScMinimize = 0xF020;
constexpr std::uintptr_t kScMaximize = 0xF030;
constexpr std::uintptr_t kScClose = 0xF060;
constexpr std::uintptr_t kScRestore = 0xF120;

// WM_NCHITTEST results.
constexpr std::intptr_t kHtNowhere = 0;
constexpr std::intptr_t kHtClient = 1;
constexpr std::intptr_t kHtCaption = 2;

// Show commands (ShowWindow's SW_ values).
constexpr int kSwHide = 0;
constexpr int kSwShowNormal = 1;
constexpr int kSwShowMinimized = 2;
constexpr int kSwShowMaximized = 3;
constexpr int kSwShowNoActivate = 4;
constexpr int kSwShow = 5;
constexpr int kSwMinimize = 6;
constexpr int kSwShowNa = 8;
constexpr int kSwRestore = 9;

// Mouse-message wparam flags (MK_ values).
constexpr std::uintptr_t kMkLButton = 0x0001;
constexpr std::uintptr_t kMkRButton = 0x0002;
constexpr std::uintptr_t kMkShift = 0x0004;
constexpr std::uintptr_t kMkControl = 0x0008;

// Virtual-key codes (VK_ values). Letters and digits are their upper-case
// ASCII codes ('A' = 0x41, '0' = 0x30).
constexpr std::uint32_t kVkBack = 0x08;
constexpr std::uint32_t kVkTab = 0x09;
constexpr std::uint32_t kVkReturn = 0x0D;
constexpr std::uint32_t kVkShift = 0x10;
constexpr std::uint32_t kVkControl = 0x11;
constexpr std::uint32_t kVkMenu = 0x12;  // Alt
constexpr std::uint32_t kVkEscape = 0x1B;
constexpr std::uint32_t kVkSpace = 0x20;
constexpr std::uint32_t kVkPrior = 0x21;
constexpr std::uint32_t kVkNext = 0x22;
constexpr std::uint32_t kVkEnd = 0x23;
constexpr std::uint32_t kVkHome = 0x24;
constexpr std::uint32_t kVkLeft = 0x25;
constexpr std::uint32_t kVkUp = 0x26;
constexpr std::uint32_t kVkRight = 0x27;
constexpr std::uint32_t kVkDown = 0x28;
constexpr std::uint32_t kVkInsert = 0x2D;
constexpr std::uint32_t kVkDelete = 0x2E;
constexpr std::uint32_t kVkF4 = 0x73;

// Which modifier keys are down while a key message is handled. Backends keep
// this state (Win32 answers it with GetKeyState) and report it through
// PlatformWindow::Modifiers(); the bits may be or-ed.
enum ModifierBits : std::uint32_t {
  kModNone = 0,
  kModShift = 1,
  kModControl = 2,
  kModAlt = 4,
};

// Win32 packing of client coordinates in mouse lparams: low word x, high word
// y, each a signed 16-bit value.
constexpr std::intptr_t PackPoint(int x, int y) {
  return static_cast<std::intptr_t>(
      (static_cast<std::uint32_t>(static_cast<std::uint16_t>(x))) |
      (static_cast<std::uint32_t>(static_cast<std::uint16_t>(y)) << 16));
}
constexpr Point UnpackPoint(std::intptr_t lparam) {
  return Point{static_cast<std::int16_t>(static_cast<std::uint32_t>(lparam) & 0xFFFF),
               static_cast<std::int16_t>((static_cast<std::uint32_t>(lparam) >> 16) & 0xFFFF)};
}
// WM_SIZE lparam: low word width, high word height (unsigned).
constexpr std::intptr_t PackSize(int width, int height) {
  return static_cast<std::intptr_t>((static_cast<std::uint32_t>(width) & 0xFFFF) |
                                    ((static_cast<std::uint32_t>(height) & 0xFFFF) << 16));
}
constexpr Size UnpackSize(std::intptr_t lparam) {
  return Size{static_cast<int>(static_cast<std::uint32_t>(lparam) & 0xFFFF),
              static_cast<int>((static_cast<std::uint32_t>(lparam) >> 16) & 0xFFFF)};
}

// Window styles (WS_ values) carried in WindowParams and Style()/SetStyle().
constexpr std::uint32_t kWsOverlapped = 0x00000000;
constexpr std::uint32_t kWsMaximizeBox = 0x00010000;
constexpr std::uint32_t kWsMinimizeBox = 0x00020000;
constexpr std::uint32_t kWsThickFrame = 0x00040000;
constexpr std::uint32_t kWsSysMenu = 0x00080000;
constexpr std::uint32_t kWsBorder = 0x00800000;
constexpr std::uint32_t kWsCaption = 0x00C00000;
constexpr std::uint32_t kWsMaximize = 0x01000000;
constexpr std::uint32_t kWsClipChildren = 0x02000000;
constexpr std::uint32_t kWsClipSiblings = 0x04000000;
constexpr std::uint32_t kWsDisabled = 0x08000000;
constexpr std::uint32_t kWsVisible = 0x10000000;
constexpr std::uint32_t kWsMinimize = 0x20000000;
constexpr std::uint32_t kWsChild = 0x40000000;
constexpr std::uint32_t kWsPopup = 0x80000000u;
constexpr std::uint32_t kWsOverlappedWindow =
    kWsOverlapped | kWsCaption | kWsSysMenu | kWsThickFrame | kWsMinimizeBox | kWsMaximizeBox;
constexpr std::uint32_t kWsPopupWindow = kWsPopup | kWsBorder | kWsSysMenu;

// Extended window styles (WS_EX_ values).
constexpr std::uint32_t kWsExTopmost = 0x00000008;
constexpr std::uint32_t kWsExTransparent = 0x00000020;
constexpr std::uint32_t kWsExToolWindow = 0x00000080;
constexpr std::uint32_t kWsExAppWindow = 0x00040000;
constexpr std::uint32_t kWsExLayered = 0x00080000;

// CW_USEDEFAULT for positions and sizes in WindowParams.
constexpr int kUseDefault = static_cast<int>(0x80000000u);

}  // namespace skinui
