#include "platform/qt/X11Desktop.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include <xcb/xcb.h>

namespace platform::qt::x11 {
namespace {

struct FreeReply {
  void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

xcb_connection_t* Connection() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  auto* app = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return app ? app->connection() : nullptr;
}

xcb_window_t Root(xcb_connection_t* c) {
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  return screen ? screen->root : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  Reply<xcb_intern_atom_reply_t> reply(
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
  return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// The 32-bit values of a property, empty when it is missing or of another type.
std::vector<uint32_t> Property(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property, xcb_atom_t type) {
  Reply<xcb_get_property_reply_t> reply(
      xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, type, 0, 64), nullptr));
  if (!reply || reply->format != 32 || reply->type != type) return {};
  const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
  return std::vector<uint32_t>(data, data + xcb_get_property_value_length(reply.get()) / 4);
}

xcb_window_t WindowOf(const QWindow& window) {
  return window.handle() ? static_cast<xcb_window_t>(window.winId()) : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
}

// Follows the owner of the tray selection: a MANAGER message on the root
// window announces a new one, the owner's DestroyNotify its end.
class TrayWatcher final : public QAbstractNativeEventFilter {
 public:
  TrayWatcher(xcb_connection_t* c, std::function<void()> changed) : mC(c), mChanged(std::move(changed)) {
    mSelection = Atom(c, "_NET_SYSTEM_TRAY_S0");
    mManager = Atom(c, "MANAGER");
    AddEventMask(Root(c), XCB_EVENT_MASK_STRUCTURE_NOTIFY);
    FollowOwner();
    QCoreApplication::instance()->installNativeEventFilter(this);
  }
  ~TrayWatcher() override {
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
  }

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (type != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7F) {
      case XCB_CLIENT_MESSAGE: {
        const auto* m = reinterpret_cast<const xcb_client_message_event_t*>(event);
        if (m->type == mManager && m->format == 32 && m->data.data32[1] == mSelection) Changed();
        break;
      }
      case XCB_DESTROY_NOTIFY: {
        const auto* d = reinterpret_cast<const xcb_destroy_notify_event_t*>(event);
        if (mOwner != XCB_WINDOW_NONE && d->window == mOwner) Changed();
        break;
      }
      default: break;
    }
    return false;  // Qt sees every event as well
  }

 private:
  void Changed() {
    FollowOwner();
    if (mChanged) mChanged();
  }
  void FollowOwner() {
    Reply<xcb_get_selection_owner_reply_t> reply(
        xcb_get_selection_owner_reply(mC, xcb_get_selection_owner(mC, mSelection), nullptr));
    mOwner = reply ? reply->owner : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
    if (mOwner != XCB_WINDOW_NONE) AddEventMask(mOwner, XCB_EVENT_MASK_STRUCTURE_NOTIFY);
  }
  // Adds to the events this client takes from a window (one mask per client
  // and window, shared with Qt's own).
  void AddEventMask(xcb_window_t window, uint32_t mask) {
    Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(mC, xcb_get_window_attributes(mC, window), nullptr));
    if (!attributes) return;
    const uint32_t value = attributes->your_event_mask | mask;
    xcb_change_window_attributes(mC, window, XCB_CW_EVENT_MASK, &value);
    xcb_flush(mC);
  }

  xcb_connection_t* mC;
  std::function<void()> mChanged;
  xcb_atom_t mSelection = XCB_ATOM_NONE;
  xcb_atom_t mManager = XCB_ATOM_NONE;
  xcb_window_t mOwner = XCB_WINDOW_NONE;
};

// Not destroyed by the exit of the process (Qt ends a program whose X
// connection broke with exit(), its event loop gone): the tray's owner
// stops it.
TrayWatcher* gTrayWatcher = nullptr;

}  // namespace

bool Available() { return Connection() != nullptr; }

bool HasWindowManager() {
  xcb_connection_t* c = Connection();
  if (!c) return false;
  const xcb_atom_t check = Atom(c, "_NET_SUPPORTING_WM_CHECK");
  const std::vector<uint32_t> child = Property(c, Root(c), check, XCB_ATOM_WINDOW);
  if (child.empty()) return false;
  // The property outlives a window manager that ended: its check window
  // must still exist and name itself.
  const std::vector<uint32_t> self = Property(c, child[0], check, XCB_ATOM_WINDOW);
  return !self.empty() && self[0] == child[0];
}

std::optional<QPoint> FramePosition(const QWindow& window) {
  xcb_connection_t* c = Connection();
  const xcb_window_t client = WindowOf(window);
  if (!c || client == XCB_WINDOW_NONE) return std::nullopt;
  Reply<xcb_translate_coordinates_reply_t> reply(
      xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, client, Root(c), 0, 0), nullptr));
  if (!reply) return std::nullopt;
  // In logical pixels and with the frame as Qt counts it, as Qt's own
  // positions are.
  const qreal ratio = window.devicePixelRatio() > 0 ? window.devicePixelRatio() : 1.0;
  const QMargins frame = window.frameMargins();
  return QPoint(qRound(reply->dst_x / ratio) - frame.left(), qRound(reply->dst_y / ratio) - frame.top());
}

void MoveFrame(const QWindow& window, QPoint position) {
  xcb_connection_t* c = Connection();
  const xcb_window_t client = WindowOf(window);
  if (!c || client == XCB_WINDOW_NONE) return;
  const qreal ratio = window.devicePixelRatio() > 0 ? window.devicePixelRatio() : 1.0;
  // The window's gravity makes the window manager read the position as
  // that of its outer corner.
  const uint32_t values[] = {static_cast<uint32_t>(qRound(position.x() * ratio)),
                             static_cast<uint32_t>(qRound(position.y() * ratio))};
  xcb_configure_window(c, client, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, values);
  xcb_flush(c);
}

bool IsIconic(const QWindow& window) {
  xcb_connection_t* c = Connection();
  const xcb_window_t client = WindowOf(window);
  if (!c || client == XCB_WINDOW_NONE) return false;
  const xcb_atom_t wmState = Atom(c, "WM_STATE");
  const std::vector<uint32_t> state = Property(c, client, wmState, wmState);
  constexpr uint32_t kIconicState = 3;
  return !state.empty() && state[0] == kIconicState;
}

void SkipTaskbar(const QWindow& window, bool mapped) {
  xcb_connection_t* c = Connection();
  const xcb_window_t client = WindowOf(window);
  if (!c || client == XCB_WINDOW_NONE) return;
  const xcb_atom_t netWmState = Atom(c, "_NET_WM_STATE");
  const xcb_atom_t skip[] = {Atom(c, "_NET_WM_STATE_SKIP_TASKBAR"), Atom(c, "_NET_WM_STATE_SKIP_PAGER")};
  if (mapped) {
    // EWMH: a mapped window asks the window manager (1 = add).
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = client;
    event.type = netWmState;
    event.data.data32[0] = 1;
    event.data.data32[1] = skip[0];
    event.data.data32[2] = skip[1];
    event.data.data32[3] = 1;  // from a normal application
    xcb_send_event(c, 0, Root(c), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
  } else {
    // Before mapping the client owns the property; Qt adds its own states
    // to what it finds there.
    std::vector<uint32_t> states = Property(c, client, netWmState, XCB_ATOM_ATOM);
    for (const xcb_atom_t atom : skip) {
      if (std::find(states.begin(), states.end(), atom) == states.end()) states.push_back(atom);
    }
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, client, netWmState, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(states.size()), states.data());
  }
  xcb_flush(c);
}

}  // namespace platform::qt::x11

namespace platform::qt::x11 {

void WatchSystemTray(std::function<void()> changed) {
  delete gTrayWatcher;
  gTrayWatcher = nullptr;
  xcb_connection_t* c = Connection();
  if (c && changed) gTrayWatcher = new TrayWatcher(c, std::move(changed));
}

}  // namespace platform::qt::x11
