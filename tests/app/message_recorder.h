#pragma once

#include "platform/message_box.h"

#include <optional>
#include <string>
#include <vector>

// Records the messages shown while it exists instead of showing them. A box that asks Yes or No
// is answered with Answer when one is set; every other box with its default button.
class TMessageRecorder {
public:
    TMessageRecorder() {
        FOld = SetMessageBoxHook([this](const TMessageBoxRequest& Request) {
            Requests.push_back(Request);
            const bool Asks = Request.Buttons == TMsgDlgButtons::mbYesNo ||
                              Request.Buttons == TMsgDlgButtons::mbYesNoCancel;
            return Asks && Answer ? *Answer : Request.Default;
        });
    }
    TMessageRecorder(const TMessageRecorder&) = delete;
    TMessageRecorder& operator=(const TMessageRecorder&) = delete;
    ~TMessageRecorder() { SetMessageBoxHook(FOld); }

    std::vector<std::string> Texts() const {
        std::vector<std::string> Result;
        for (const TMessageBoxRequest& Request : Requests) {
            Result.push_back(Request.Text);
        }
        return Result;
    }

    std::vector<TMessageBoxRequest> Requests;
    std::optional<TModalResult> Answer;

private:
    TMessageBoxHook FOld;
};
