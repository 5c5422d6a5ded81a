// File ▸ Open Recent: the recent files as a submenu after Open, numbered, newest
// first, filled each time it opens. Choosing one opens it through the shell as Open
// does.
#pragma once

#include <QObject>

class QAction;
class QMenu;

namespace quillex {

class Shell;

class RecentMenu : public QObject {
    Q_OBJECT
  public:
    // Puts the submenu into the menu that holds `openAction`, right after it.
    RecentMenu(QAction* openAction, Shell& shell);

    QMenu* menu() const { return menu_; }
    // Fills the submenu from the list (done whenever it is about to show).
    void fill();

  private:
    QMenu* menu_;
    Shell& shell_;
};

} // namespace quillex
