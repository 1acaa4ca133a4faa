#include "app/ui/show_main_window.h"

#include "platform/show_command.h"

#include <QWidget>

namespace {

// The platform's minimising show commands: minimise, minimise without activation, minimise
// and activate the next window, and the forced minimise.
bool Minimises(int ShowCommand) {
    return ShowCommand == 2 || ShowCommand == 6 || ShowCommand == kShowMinNoActive ||
           ShowCommand == 11;
}

} // namespace

void ShowMainWindow(QWidget& Window, int ShowCommand) {
    if (Minimises(ShowCommand)) {
        Window.showMinimized();
    } else if (ShowCommand == kShowMaximized) {
        Window.showMaximized();
    } else {
        Window.show();
    }
}
