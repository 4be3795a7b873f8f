#include "qt/window_manager_hints.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace afx::qt {
namespace {

// The Motif window manager hints (_MOTIF_WM_HINTS): flags, functions, decorations, input mode,
// status.
constexpr std::uint32_t kHintsFunctions = 1u << 0;
constexpr std::uint32_t kHintsDecorations = 1u << 1;
constexpr std::uint32_t kFunctionMove = 1u << 2;
constexpr std::uint32_t kFunctionMinimize = 1u << 3;
constexpr std::uint32_t kFunctionMaximize = 1u << 4;
constexpr std::uint32_t kFunctionClose = 1u << 5;
constexpr std::uint32_t kDecorationBorder = 1u << 1;
constexpr std::uint32_t kDecorationTitle = 1u << 3;
constexpr std::uint32_t kDecorationMenu = 1u << 4;
constexpr std::uint32_t kDecorationMinimize = 1u << 5;
constexpr std::uint32_t kDecorationMaximize = 1u << 6;

struct FreeReply {
  void operator()(void* reply) const { std::free(reply); }
};

}  // namespace

void RequestFrameDecorations(QWidget& window, DWORD style) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr) return;
  xcb_connection_t* connection = x11->connection();

  std::uint32_t functions = 0;
  std::uint32_t decorations = kDecorationBorder;
  if ((style & WS_CAPTION) == WS_CAPTION) {
    functions |= kFunctionMove;
    decorations |= kDecorationTitle;
  }
  if ((style & WS_SYSMENU) != 0) {
    functions |= kFunctionClose;
    decorations |= kDecorationMenu;
    if ((style & WS_MINIMIZEBOX) != 0) {
      functions |= kFunctionMinimize;
      decorations |= kDecorationMinimize;
    }
    if ((style & WS_MAXIMIZEBOX) != 0) {
      functions |= kFunctionMaximize;
      decorations |= kDecorationMaximize;
    }
  }

  static constexpr char kName[] = "_MOTIF_WM_HINTS";
  const std::unique_ptr<xcb_intern_atom_reply_t, FreeReply> atom(xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, sizeof kName - 1, kName), nullptr));
  if (!atom) return;
  const std::uint32_t hints[5] = {kHintsFunctions | kHintsDecorations, functions, decorations, 0,
                                  0};
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()),
                      atom->atom, atom->atom, 32, 5, hints);
  xcb_flush(connection);
}

}  // namespace afx::qt
