#pragma once

#include "app/ui/fm_vespera.h"
#include "app/ui/general_page.h"
#include "app/ui/logo_page.h"
#include "app/vespera_app.h"
#include "pgraphic/image/pixel_graphic.h"
#include "platform/message_box.h"
#include "platform/shell_open.h"
#include "tests/app/logo_pixels.h"
#include "tests/app/message_recorder.h"
#include "tests/app/scratch_program.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// The settings window over a scratch program folder and Windows folder, with its messages and
// the shell's "Open" recorded instead of shown (see TMessageRecorder for the answers).
class WindowTest : public testing::Test, protected TScratchProgram {
protected:
    WindowTest() {
        FOldOpen = SetShellOpenHook([this](const std::string& Target, const TShellOpenFailed&) {
            Opened.push_back(Target);
            return true;
        });
    }
    ~WindowTest() override { SetShellOpenHook(FOldOpen); }

    // Start-up as the program runs it, then the window shown (which makes the backups).
    bool Start() {
        const bool Done = Window.FormCreate(Places);
        Window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Window));
        QApplication::processEvents();
        return Done;
    }

    TGeneralPage& General() const { return *Window.General(); }
    TLogoPage& First() const { return *Window.LogoPage(TLogo::First); }
    TLogoPage& Last() const { return *Window.LogoPage(TLogo::Last); }

    // Clicks the centre of a control, as a user would.
    static void Click(QWidget* Control, Qt::MouseButton Button = Qt::LeftButton) {
        QTest::mouseClick(Control, Button, {}, Control->rect().center());
        QApplication::processEvents();
    }
    // Shows page Index (0 "General Settings", 1 "First Logo", 2 "Second Logo") by its tab.
    void ShowPage(int Index);

    TMessageRecorder Messages;
    std::vector<std::string> Opened;
    TVesperaApp App;
    TfmVespera Window{App};

private:
    TShellOpenHook FOldOpen;
};

// A copy of Picture that stays as it is.
std::unique_ptr<TPixelGraphic> CopyOf(const TPixelGraphic& Picture);

// The picture a logo page's preview shows; fails the test when it shows none.
const TPixelGraphic& PreviewPicture(const TLogoPage& Page);

inline const std::string kRiddles = "[Header]\nFormat=Q&A\n[Data]\nQ: First riddle?\nA: One.\n"
                                    "Q: Second riddle?\nA: Two.\nQ: Third riddle?\nA: Three.\n";
