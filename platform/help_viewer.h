#pragma once

#include <string>
#include <vector>

// The help viewer. A program's help is a folder of HTML pages; a help file is named the
// platform's old way ("vespera.hlp") and stands for the pages of its base name ("vespera").
// They are looked for beside the program file first, in the folder "help" (a build tree, a
// portable copy), then where an installation puts them: "../share/doc/<base>/html" from the
// program file's folder.

// Those folders for the program file ProgramFile, in the order they are searched, each with
// its trailing "/"; none when ProgramFile has no folder or HelpFile no name.
std::vector<std::string> HelpFolders(const std::string& ProgramFile, const std::string& HelpFile);

// The page that help context Context of HelpFile opens for the program file ProgramFile: the
// contents page, "index.html" (there is one page per topic, reached from there), in the first
// of HelpFolders that holds one. Empty when none does.
std::string HelpPage(const std::string& ProgramFile, const std::string& HelpFile, int Context);

// Opens that page through the shell (shell_open.h). When there is no page, an error message
// says so and lists the folders searched, in order; when it cannot be opened, the message
// names it. Returns whether it opened.
bool ShowHelp(const std::string& ProgramFile, const std::string& HelpFile, int Context);
