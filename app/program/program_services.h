#pragma once

#include "platform/message_box.h"

#include <memory>

class TDesktopOpener;

// The services the program's parts reach through process-wide hooks, installed for the time of
// the program's run: the clock that $VESPERA_CLOCK fixes, message boxes, the shell's "Open" and
// the values of the system colours in the logos (those the colour buttons show). Needs the
// application object.
class TProgramServices {
public:
    explicit TProgramServices(TMessageBoxHook Messages);
    ~TProgramServices();

    TProgramServices(const TProgramServices&) = delete;
    TProgramServices& operator=(const TProgramServices&) = delete;

private:
    std::unique_ptr<TDesktopOpener> FOpener;
};
