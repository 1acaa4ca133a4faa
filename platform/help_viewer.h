#pragma once

#include <string>
#include <vector>

// The help viewer. A program's help is a folder of HTML pages; a help file is named the
// platform's old way ("vespera.hlp") and stands for the pages of its base name ("vespera").
// They are looked for beside the program file first, in the folder "help" (a build tree, a
// portable copy), then where an installation puts them: "../share/doc/<base>/html" from the
// program file's folder.

// The contents page, from which every topic is reached; what help context 0 opens.
inline constexpr const char* kHelpContents = "index.html";

// Those folders for the program file ProgramFile, in the order they are searched, each with
// its trailing "/"; none when ProgramFile has no folder or HelpFile no name.
std::vector<std::string> HelpFolders(const std::string& ProgramFile, const std::string& HelpFile);

// The page Topic of HelpFile ("index.html", "settings.html") for the program file ProgramFile,
// in the first of HelpFolders that holds it. Empty when none does.
std::string HelpPage(const std::string& ProgramFile, const std::string& HelpFile,
                     const std::string& Topic);

// Opens that page through the shell (shell_open.h). When there is no page, an error message
// says so and lists the folders searched, in order; when it cannot be opened, at once or once
// the desktop's opener has given up, the message names the page's full path, for the user to
// open it by hand. Returns whether the shell accepted it.
bool ShowHelp(const std::string& ProgramFile, const std::string& HelpFile,
              const std::string& Topic);
