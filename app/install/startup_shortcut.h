#pragma once

#include "platform/shell_link.h"

#include <string>

// The link in the user's start-up folder that runs the program unattended ("/AUTO") at every
// log-in.

// The link's parameters for the program file ProgramFile: description "Vespera", arguments
// "/AUTO", started minimised without activation.
TShellLinkInfo StartupShortcutInfo(const std::string& ProgramFile);

// Writes the link ("Vespera.LNK" in the start-up folder, saved as Vespera.desktop) and reports
// the outcome in a message. Without a start-up folder it fails: the link never lands anywhere
// else.
void CreateStartupShortcut(const std::string& ProgramFile);

// The button "Create a shortcut in the Startup Group": asks first, and only on Yes creates the
// link.
void StartupShortcutClick(const std::string& ProgramFile);
