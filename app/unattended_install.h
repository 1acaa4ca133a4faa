#pragma once

class TVesperaApp;
struct TProgramPlaces;

// The work of the unattended run ("vespera /AUTO") on the program's core, without any window
// and whatever process runs it (program/unattended_program.h): App starts at Places with the
// installed font families (as the font lists offer them), makes the one-time backups, composes
// both logos again and installs them (TVesperaApp::Start, then InstallUnattended). A failure is
// shown through the message-box hook and ends the run; running out of memory is one of them and
// is reported as such. Returns whether the run went to its end.
bool RunUnattended(TVesperaApp& App, const TProgramPlaces& Places);
