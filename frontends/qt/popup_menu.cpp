#include "frontends/qt/popup_menu.h"

#include "frontends/qt/dispatch.h"
#include "menu/menu_model.h"

namespace quorvex {

PopupMenu::PopupMenu(Form1& form) : form_(form) {
  // Every way Qt opens it comes through here: the XEmbed tray's right button, and the
  // form's popup for a host that only reports the right button (ContextMenu).
  QObject::connect(&root_, &QMenu::aboutToShow, [this] { Rebuild(); });
}

void PopupMenu::Rebuild() {
  snapshot_ = std::make_shared<const PopupSnapshot>(form_.Snapshot());
  root_.clear();
  for (QMenu* submenu : submenus_) submenu->deleteLater();
  submenus_.clear();
  AddItems(root_, snapshot_->menu.Root());
}

// Qt draws it (XEmbed, or the QMenu opened on the right button).
QString PopupMenu::ActionText(const MenuItem& item) { return QString::fromStdU16String(AccessKeyCaption(item)); }

void PopupMenu::AddItems(QMenu& menu, const MenuItem& parent) {
  for (const MenuItem& item : parent.children) {
    QAction* action = nullptr;
    if (item.IsSeparator()) {
      action = menu.addSeparator();
    } else if (!item.children.empty()) {
      auto* submenu = new QMenu(ActionText(item), &root_);
      submenus_.push_back(submenu);
      AddItems(*submenu, item);
      action = menu.addMenu(submenu);
    } else {
      action = menu.addAction(ActionText(item));
      // Queued: the click runs once the menu has closed, so a handler that lets events in
      // cannot rebuild the menu under the action that is still sending its signal. The
      // snapshot it acts on is the one this popup showed.
      QObject::connect(
          action, &QAction::triggered, &root_,
          [this, name = item.name, index = item.index, shown = snapshot_] {
            Dispatch(name, [&] { form_.Click(name, index, *shown); });
          },
          Qt::QueuedConnection);
    }
    action->setCheckable(item.checked);
    action->setChecked(item.checked);
    action->setVisible(item.visible);
    action->setEnabled(item.enabled);
    if (item.name == MenuTree::kDefaultItem) {
      QFont bold = menu.font();
      bold.setBold(true);
      action->setFont(bold);
    }
  }
}

}  // namespace quorvex
