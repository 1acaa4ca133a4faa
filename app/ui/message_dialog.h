#pragma once

#include "platform/message_box.h"

// The message box of a program with a display: a modal QMessageBox with the request's caption,
// icon and buttons, its top-left corner at the request's position when it has one; returns the
// button pressed.
TModalResult DialogMessageBox(const TMessageBoxRequest& Request);
