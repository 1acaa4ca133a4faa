#pragma once

#include <functional>
#include <optional>
#include <string>

// The process-wide message box: every message to the user goes through one hook. A window
// installs a real dialog; without one the message goes to standard error and the default
// answer is taken.

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };

enum class TMsgDlgButtons { mbOK, mbOKCancel, mbYesNo, mbYesNoCancel };

enum class TModalResult { mrNone, mrOK, mrCancel, mrYes, mrNo };

// A point on the screen, in pixels from its top-left corner.
struct TScreenPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const TScreenPoint&) const = default;
};

struct TMessageBoxRequest {
    std::string Caption;
    std::string Text;
    TMsgDlgType Type = TMsgDlgType::mtInformation;
    TMsgDlgButtons Buttons = TMsgDlgButtons::mbOK;
    TModalResult Default = TModalResult::mrOK; // the answer of the default button
    // Where the box's top-left corner goes; none lets the hook place it.
    std::optional<TScreenPoint> Position;
    // What a failure concerns and where ("First Logo background /x.png"), for a report that is
    // read without the program's window; empty when the text says it all. A box shows only Text.
    std::string Subject;
};

using TMessageBoxHook = std::function<TModalResult(const TMessageBoxRequest& Request)>;

// Shows the message through the installed hook and returns the answer.
TModalResult ShowMessageBox(const TMessageBoxRequest& Request);

// Installs a hook (none restores the console default); returns the one it replaces.
TMessageBoxHook SetMessageBoxHook(TMessageBoxHook Hook);

// The console default: "Caption: Text" on standard error ("Caption: Subject: Text" when the
// request has a subject), answered with the default button.
TModalResult ConsoleMessageBox(const TMessageBoxRequest& Request);
