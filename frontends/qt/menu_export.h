// Keeps the menu a StatusNotifierItem host reads (DbusMenu) the form's own. Whenever the
// program is about to wait for events, and when a host opens the menu, a change of the
// form's menu is published, unless a servers-menu rebuild is halfway: the host then keeps
// the last completed one. A host's click runs the form's handler with the menu that host
// read. Nothing to do in an XEmbed tray, where Qt draws the popup.
#pragma once
#include <QMetaObject>

#include <cstdint>

#include "app/form1.h"
#include "frontends/qt/tray_shell.h"

namespace quorvex {

class MenuExport {
 public:
  MenuExport(Form1& form, QtTrayShell& shell);
  ~MenuExport();
  MenuExport(const MenuExport&) = delete;
  MenuExport& operator=(const MenuExport&) = delete;

 private:
  void Refresh();

  Form1& form_;
  DbusMenu* menu_;  // null in an XEmbed tray
  uint64_t published_;  // the form's menu revision hosts read
  QMetaObject::Connection beforeWaiting_;
};

}  // namespace quorvex
