#include "frontends/qt/menu_export.h"

#include <QAbstractEventDispatcher>

#include "frontends/qt/dispatch.h"

namespace quorvex {

MenuExport::MenuExport(Form1& form, QtTrayShell& shell)
    : form_(form), menu_(shell.ExportMenu(form.Snapshot())), published_(form.MenuRevision()) {
  if (menu_ == nullptr) return;
  menu_->OnOpening([this] { Refresh(); });
  menu_->OnClicked([this](const MenuRevisions::Click& click) {
    Dispatch(click.name, [&] { form_.Click(click.name, click.index, *click.shown); });
  });
  // Every handler, and every yield inside one, ends in a wait of the event loop.
  beforeWaiting_ = QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                                    [this] { Refresh(); });
}

MenuExport::~MenuExport() { QObject::disconnect(beforeWaiting_); }

void MenuExport::Refresh() {
  if (form_.MenuRevision() == published_ || form_.MenuRebuilding() || form_.Exited()) return;
  published_ = form_.MenuRevision();
  menu_->Publish(form_.Snapshot());
}

}  // namespace quorvex
