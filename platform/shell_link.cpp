#include "platform/shell_link.h"

#include "core/stream.h"
#include "platform/ascii_text.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"

#include <cerrno>
#include <string_view>
#include <vector>

namespace {

// The words of a command line: blanks separate them, double quotes group blanks into a word.
std::vector<std::string> SplitArguments(std::string_view Text) {
    std::vector<std::string> Words;
    std::string Word;
    bool InWord = false;
    bool Quoted = false;
    for (const char C : Text) {
        if (C == '"') {
            Quoted = !Quoted;
            InWord = true;
        } else if (!Quoted && (C == ' ' || C == '\t')) {
            if (InWord) {
                Words.push_back(std::move(Word));
                Word.clear();
                InWord = false;
            }
        } else {
            Word += C;
            InWord = true;
        }
    }
    if (InWord) {
        Words.push_back(std::move(Word));
    }
    return Words;
}

// One argument of Exec: quoted when it holds a reserved character or is empty, with the
// characters that stay special inside quotes escaped; "%" doubled, as it starts field codes.
std::string ExecArgument(std::string_view Argument) {
    constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string Result;
    const bool Quote = Argument.empty() || Argument.find_first_of(kReserved) != std::string::npos;
    if (Quote) {
        Result += '"';
    }
    for (const char C : Argument) {
        if (Quote && (C == '"' || C == '`' || C == '$' || C == '\\')) {
            Result += '\\';
        }
        if (C == '%') {
            Result += '%';
        }
        Result += C;
    }
    if (Quote) {
        Result += '"';
    }
    return Result;
}

// A value as a desktop entry's string: backslashes and line and tab characters escaped, other
// control characters dropped.
std::string EscapeValue(std::string_view Value) {
    std::string Result;
    for (const char C : Value) {
        switch (C) {
        case '\\':
            Result += "\\\\";
            break;
        case '\n':
            Result += "\\n";
            break;
        case '\t':
            Result += "\\t";
            break;
        case '\r':
            Result += "\\r";
            break;
        default:
            if (static_cast<unsigned char>(C) >= 0x20 && C != 0x7F) {
                Result += C;
            }
        }
    }
    return Result;
}

} // namespace

std::string DesktopEntryFileName(const std::string& LinkFile) {
    const std::string Name = ExtractFileName(LinkFile);
    if (Name.size() > 4 && SameText(std::string_view(Name).substr(Name.size() - 4), ".lnk")) {
        return LinkFile.substr(0, LinkFile.size() - 4) + ".desktop";
    }
    return LinkFile;
}

std::string DesktopEntryText(const std::string& Name, const TShellLinkInfo& Info) {
    const std::string Target = ExpandFileName(Info.Path);
    std::string Exec = ExecArgument(Target);
    if ((Info.Flags & slArguments) != 0) {
        for (const std::string& Argument : SplitArguments(Info.Arguments)) {
            Exec += ' ' + ExecArgument(Argument);
        }
    }
    std::string Text = "[Desktop Entry]\nType=Application\n";
    Text += "Name=" + EscapeValue(Name) + "\n";
    // A comment that repeats the name says nothing; the desktop's checker warns about it.
    if ((Info.Flags & slDescription) != 0 && !Info.Description.empty() &&
        Info.Description != Name) {
        Text += "Comment=" + EscapeValue(Info.Description) + "\n";
    }
    Text += "Exec=" + EscapeValue(Exec) + "\n";
    if ((Info.Flags & slIcon) != 0 && !Info.IconPath.empty()) {
        Text += "Icon=" + EscapeValue(ExpandFileName(Info.IconPath)) + "\n";
    }
    const bool OwnFolder = (Info.Flags & slWorkingDirectory) != 0 && !Info.WorkingDirectory.empty();
    const std::string Folder =
        OwnFolder ? ExpandFileName(Info.WorkingDirectory) : ExtractFilePath(Target);
    if (!Folder.empty()) {
        Text += "Path=" + EscapeValue(ExcludeTrailingPathDelimiter(Folder)) + "\n";
    }
    Text += "Terminal=false\n";
    return Text;
}

int CreateShellLink(const std::string& LinkFile, const TShellLinkInfo& Info) {
    const std::string FileName = DesktopEntryFileName(LinkFile);
    std::string Name = ExtractFileName(FileName);
    if (const std::size_t Dot = Name.rfind('.'); Dot != std::string::npos && Dot > 0) {
        Name.erase(Dot);
    }
    if (Name.empty() || Info.Path.empty()) {
        return -EINVAL;
    }
    try {
        WriteFileAtomically(FileName, DesktopEntryText(Name, Info), TReplaceMode::rmReplace);
    } catch (const EFileError& Failure) {
        return -Failure.ErrorCode();
    }
    return 0;
}
