// Menus have no widget of their own: the popup menu's entries with a
// shortcut become keyboard shortcuts of the window (the window's context
// menu lists the entries).
#include <QKeySequence>
#include <QShortcut>

#include "platform/qt/binding.h"
#include "platform/qt/qt_widgets.h"

namespace platform::qt {

namespace {

int QtKeyOf(int vk) {
  if (vk >= 'A' && vk <= 'Z') return Qt::Key_A + (vk - 'A');
  if (vk >= '0' && vk <= '9') return Qt::Key_0 + (vk - '0');
  if (vk >= 0x70 && vk <= 0x7B) return Qt::Key_F1 + (vk - 0x70);
  switch (vk) {
    case 0x2E: return Qt::Key_Delete;
    case 0x2D: return Qt::Key_Insert;
    case 0x08: return Qt::Key_Backspace;
    case 0x0D: return Qt::Key_Return;
    case 0x1B: return Qt::Key_Escape;
    case 0x20: return Qt::Key_Space;
    case 0x24: return Qt::Key_Home;
    case 0x23: return Qt::Key_End;
    default: return 0;
  }
}

/// The Qt key combination of a stored shortcut code (modifier bits plus a
/// virtual-key code); an empty sequence for keys without a Qt equivalent.
QKeySequence KeySequenceOf(int code) {
  const int key = QtKeyOf(code & 0xFF);
  if (!key) return {};
  int mods = 0;
  if (code & shortcut::kCtrl) mods |= Qt::CTRL;
  if (code & shortcut::kShift) mods |= Qt::SHIFT;
  if (code & shortcut::kAlt) mods |= Qt::ALT;
  return QKeySequence(key | mods);
}

}  // namespace

bool BindMenu(FormView::Impl& view, Control& c) {
  if (dynamic_cast<MenuItem*>(&c)) return true;
  if (!dynamic_cast<PopupMenu*>(&c)) return false;
  for (Control* entry : c.Children()) {
    auto* item = dynamic_cast<MenuItem*>(entry);
    if (!item || !item->ShortCut()) continue;
    const QKeySequence keys = KeySequenceOf(item->ShortCut());
    if (keys.isEmpty()) continue;
    auto* s = new QShortcut(keys, view.window, nullptr, nullptr, Qt::WindowShortcut);
    s->setObjectName(Name(*item));
    QObject::connect(s, &QShortcut::activated, s, [item] { Guard([item] { item->Click(); }); });
    view.shortcuts.push_back(s);
  }
  return true;
}

}  // namespace platform::qt
