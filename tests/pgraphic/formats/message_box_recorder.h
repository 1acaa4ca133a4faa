#pragma once

#include "platform/message_box.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

// A test whose message boxes are answered with Answer (or raise, with Throw) and remembered.
class TMessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        Previous = SetMessageBoxHook([this](const TMessageBoxRequest& Request) {
            Messages.push_back(Request);
            if (Throw) {
                throw std::runtime_error("from the message box");
            }
            return Answer;
        });
    }
    void TearDown() override { SetMessageBoxHook(Previous); }

    TMessageBoxHook Previous;
    std::vector<TMessageBoxRequest> Messages;
    TModalResult Answer = TModalResult::mrOK;
    bool Throw = false;
};
