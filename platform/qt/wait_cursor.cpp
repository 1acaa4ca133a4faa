#include "platform/qt/wait_cursor.h"

#include <QCursor>
#include <QGuiApplication>

TWaitCursor::TWaitCursor(bool Show) {
    if (Show) {
        Start();
    }
}

TWaitCursor::~TWaitCursor() {
    if (FStarted) {
        QGuiApplication::restoreOverrideCursor();
    }
}

void TWaitCursor::Start() {
    if (!FStarted) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        FStarted = true;
    }
}
