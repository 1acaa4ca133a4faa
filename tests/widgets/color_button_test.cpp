// The colour button and its palette popup as a user drives them: real widgets on the offscreen
// platform, QTest's mouse and keys, the real colour dialog.

#include "platform/display.h"
#include "platform/qt/qt_color.h"
#include "widget_test_util.h"
#include "widgets/color_button.h"
#include "widgets/color_button_palette.h"

#include <QColorDialog>
#include <QCursor>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// A window holding one colour button, shown and active, with the mouse far from it.
class ColorButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        Window.setGeometry(200, 100, 200, 120);
        Button = new TColorButton(&Window);
        Button->move(20, 20);
        Button->OnColorChange = [this](TObject* Sender) {
            EXPECT_EQ(Sender, static_cast<TObject*>(Button));
            ++Changes;
        };
        Window.show();
        Window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
        QCursor::setPos(0, 0);
    }
    void TearDown() override { SetScreenColorDepth(0); }

    // Clicks the button and returns the popup it opened. Without one the test fails at once:
    // the exception ends the test body and GoogleTest reports it as the failure.
    TColorButtonPalette& Open() {
        QTest::mouseClick(Button, Qt::LeftButton);
        TColorButtonPalette* Popup = Button->Palette();
        if (Popup == nullptr) {
            throw std::runtime_error("clicking the button opened no popup");
        }
        EXPECT_TRUE(QTest::qWaitForWindowExposed(Popup));
        return *Popup;
    }

    // A point of the popup's client area in the popup's own coordinates.
    static QPoint Client(int X, int Y) { return {X + kPaletteFrame, Y + kPaletteFrame}; }
    static QPoint SwatchCentre(TPaletteCell Cell) {
        const QPoint Origin = SwatchOrigin(Cell, kPaletteClientSize.width());
        return Client(Origin.x() + 8, Origin.y() + 8);
    }

    // Waits for a popup to close and go away; the button then forgets it.
    bool Closed(const QPointer<TColorButtonPalette>& Popup) {
        return WaitFor([&] { return Popup.isNull(); }) && Button->Palette() == nullptr &&
               !Button->DroppedDown();
    }

    // Presses Escape in the popup; whether it closed and went away.
    bool EscapeCloses(TColorButtonPalette& Popup) {
        const QPointer<TColorButtonPalette> Watch(&Popup);
        QTest::keyClick(&Popup, Qt::Key_Escape);
        return Closed(Watch);
    }

    // Clicks the popup at Where; whether it closed and went away.
    bool ClickCloses(TColorButtonPalette& Popup, QPoint Where) {
        const QPointer<TColorButtonPalette> Watch(&Popup);
        QTest::mouseClick(&Popup, Qt::LeftButton, {}, Where);
        return Closed(Watch);
    }

    QWidget Window;
    TColorButton* Button = nullptr;
    int Changes = 0;
};

TEST_F(ColorButtonTest, NewButtonHasItsDefaults) {
    EXPECT_EQ(Button->size(), QSize(45, 22));
    EXPECT_EQ(Button->Color(), 0);
    EXPECT_EQ(Button->OtherColor(), clBtnFace);
    EXPECT_EQ(Button->OtherBtnCaption(), "&Other");
    EXPECT_EQ(Button->Style(), 0);
    EXPECT_TRUE(Button->text().isEmpty());
    EXPECT_EQ(Button->PaletteColors().Colors(2, 3), RGB(0, 127, 0));
    EXPECT_EQ(Button->CustomColors().Columns(), 8);
    EXPECT_EQ(Button->CustomColors().Rows(), 2);
    for (int C = 1; C <= 8; ++C) {
        EXPECT_EQ(Button->CustomColors().Colors(C, 2), 0xFFFFFF);
    }
}

TEST_F(ColorButtonTest, OnASixteenColourDisplayTheSwatchesAreTheDisplaysPens) {
    SetScreenColorDepth(4);
    TColorButton Sixteen;
    EXPECT_EQ(Sixteen.PaletteColors().Colors(2, 1), RGB(128, 0, 128));
    SetScreenColorDepth(16);
    TColorButton HighColour;
    EXPECT_EQ(HighColour.PaletteColors().Colors(2, 1), RGB(0, 0, 0));
}

TEST_F(ColorButtonTest, ColorChangesFireOnlyForANewValue) {
    Button->SetColor(0);
    EXPECT_EQ(Changes, 0);
    Button->SetColor(RGB(1, 2, 3));
    Button->SetColor(RGB(1, 2, 3));
    EXPECT_EQ(Changes, 1);
    Button->OnColorChange = nullptr;
    Button->SetColor(RGB(4, 5, 6)); // no handler: nothing to call
    EXPECT_EQ(Button->Color(), RGB(4, 5, 6));
}

TEST_F(ColorButtonTest, PaintsSwatchSeparatorAndArrow) {
    Button->SetColor(RGB(10, 200, 30));
    const QImage Up = Button->grab().toImage();
    EXPECT_EQ(Up.pixel(15, 10), QColor(10, 200, 30).rgb());
    EXPECT_EQ(Up.pixel(5, 4), PaletteQColor(clWindowFrame).rgb());
    EXPECT_EQ(Up.pixel(29, 17), PaletteQColor(clWindowFrame).rgb());
    EXPECT_EQ(Up.pixel(33, 10), Button->palette().color(QPalette::Dark).rgb());
    EXPECT_EQ(Up.pixel(34, 10), Button->palette().color(QPalette::Light).rgb());
    const QColor Arrow = Button->palette().color(QPalette::ButtonText);
    EXPECT_EQ(Up.pixel(36, 10), Arrow.rgb());
    EXPECT_EQ(Up.pixel(38, 12), Arrow.rgb());
    EXPECT_NE(Up.pixel(36, 12), Arrow.rgb()); // the triangle narrows downwards
}

TEST_F(ColorButtonTest, OpenPopupDrawsTheButtonPressed) {
    Button->SetColor(RGB(10, 200, 30));
    TColorButtonPalette& Popup = Open();
    EXPECT_TRUE(Button->DroppedDown());
    const QImage Down = Button->grab().toImage();
    EXPECT_EQ(Down.pixel(0, 0), PaletteQColor(clWindowFrame).rgb());
    EXPECT_EQ(Down.pixel(1, 1), Button->palette().color(QPalette::Dark).rgb());
    EXPECT_EQ(Down.pixel(6, 5), PaletteQColor(clWindowFrame).rgb()); // swatch moved by (1, 1)
    EXPECT_EQ(Down.pixel(16, 11), QColor(10, 200, 30).rgb());
    EXPECT_TRUE(EscapeCloses(Popup));
}

TEST_F(ColorButtonTest, PopupHighlightsThePaletteColourOrShowsItAsTheOtherColour) {
    Button->SetColor(RGB(0, 127, 0));
    {
        TColorButtonPalette& Popup = Open();
        EXPECT_EQ(Popup.size(), QSize(78, 121));
        EXPECT_EQ(Popup.Highlighted(), (TPaletteCell{2, 3}));
        EXPECT_EQ(Popup.OtherColor(), clBtnFace);
        EXPECT_EQ(Popup.OtherButton()->text(), "&Other");
        EXPECT_EQ(Popup.OtherButton()->geometry(), QRect(Client(1, 97), QSize(50, 18)));
        const QImage Shot = Popup.grab().toImage();
        const QPoint Green = SwatchCentre({2, 3}) - QPoint(8, 8); // the box's top-left
        EXPECT_EQ(Shot.pixel(Green + QPoint(-1, -1)), QColor(Qt::black).rgb());
        EXPECT_EQ(Shot.pixel(Green), QColor(Qt::white).rgb());
        EXPECT_EQ(Shot.pixel(Green + QPoint(1, 1)), QColor(Qt::black).rgb());
        EXPECT_EQ(Shot.pixel(Green + QPoint(8, 8)), QColor(0, 127, 0).rgb());
        const QPoint Red = SwatchCentre({1, 2}) - QPoint(8, 8); // plain: a sunken bevel
        EXPECT_EQ(Shot.pixel(Red), QColor(128, 128, 128).rgb());
        EXPECT_EQ(Shot.pixel(Red + QPoint(1, 1)), QColor(Qt::black).rgb());
        EXPECT_EQ(Shot.pixel(Red + QPoint(15, 15)), QColor(Qt::white).rgb());
        EXPECT_EQ(Shot.pixel(Red + QPoint(14, 14)), QColor(223, 223, 223).rgb());
        ASSERT_TRUE(EscapeCloses(Popup));
    }

    Button->SetColor(RGB(1, 2, 3));
    TColorButtonPalette& Popup = Open();
    EXPECT_EQ(Popup.Highlighted(), kNoCell);
    EXPECT_EQ(Popup.OtherColor(), RGB(1, 2, 3));
    const QImage Shot = Popup.grab().toImage();
    EXPECT_EQ(Shot.pixel(SwatchCentre(kOtherCell)), QColor(1, 2, 3).rgb());
    EXPECT_TRUE(EscapeCloses(Popup));
    EXPECT_EQ(Changes, 2); // only the two SetColor calls
}

TEST_F(ColorButtonTest, HighlightFollowsTheMouseButNotIntoGaps) {
    TColorButtonPalette& Popup = Open();
    QTest::mouseMove(Popup.windowHandle(), SwatchCentre({3, 4}));
    EXPECT_TRUE(WaitFor([&] { return Popup.Highlighted() == TPaletteCell{3, 4}; }));
    QTest::mouseMove(Popup.windowHandle(),
                     Client(20, 100)); // below the grid, left of the other swatch
    QCoreApplication::processEvents();
    EXPECT_EQ(Popup.Highlighted(), (TPaletteCell{3, 4}));
    QTest::mouseMove(Popup.windowHandle(), SwatchCentre(kOtherCell));
    EXPECT_TRUE(WaitFor([&] { return Popup.Highlighted() == kOtherCell; }));
    EXPECT_TRUE(EscapeCloses(Popup));
}

TEST_F(ColorButtonTest, ClickingASwatchChoosesItsColourOnce) {
    Button->SetColor(RGB(255, 0, 0));
    Changes = 0;
    ASSERT_TRUE(ClickCloses(Open(), SwatchCentre({1, 2}))); // red again
    EXPECT_EQ(Changes, 0);

    ASSERT_TRUE(ClickCloses(Open(), SwatchCentre({4, 4})));
    EXPECT_EQ(Button->Color(), RGB(127, 0, 127));
    EXPECT_EQ(Changes, 1);

    // The other-colour swatch gives the other colour as it is, a system colour too.
    ASSERT_TRUE(ClickCloses(Open(), SwatchCentre(kOtherCell)));
    EXPECT_EQ(Button->Color(), clBtnFace);
    EXPECT_EQ(Changes, 2);
}

TEST_F(ColorButtonTest, ClickingBetweenSwatchesClosesWithoutAChange) {
    Button->SetColor(RGB(0, 0, 255));
    Changes = 0;
    for (const QPoint Gap : {Client(10, 100), Client(71, 91), Client(5, 114)}) {
        EXPECT_TRUE(ClickCloses(Open(), Gap));
    }
    EXPECT_EQ(Button->Color(), RGB(0, 0, 255));
    EXPECT_EQ(Changes, 0);
}

TEST_F(ColorButtonTest, LosingTheActivationClosesThePopup) {
    TColorButtonPalette& Popup = Open();
    const QPointer<TColorButtonPalette> Watch(&Popup);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Popup));
    Window.activateWindow();
    EXPECT_TRUE(Closed(Watch));
    EXPECT_EQ(Changes, 0);
}

TEST_F(ColorButtonTest, PopupOpensBelowTheButtonOrAboveItAtTheScreensBottom) {
    const QRect Screen = Button->screen()->geometry();
    {
        TColorButtonPalette& Popup = Open();
        const QPoint Corner = Button->mapToGlobal(QPoint(0, Button->height()));
        EXPECT_EQ(Popup.pos(), Corner);
        ASSERT_TRUE(EscapeCloses(Popup));
    }

    // The button's bottom 50 pixels above the screen's end: no room for 121 pixels below.
    Window.move(200, Screen.bottom() - 50 - 20 - Button->height() + 1);
    QCoreApplication::processEvents();
    const QPoint Top = Button->mapToGlobal(QPoint(0, 0));
    ASSERT_GT(Top.y() + Button->height() + 121, Screen.y() + Screen.height());
    TColorButtonPalette& Popup = Open();
    EXPECT_EQ(Popup.pos(), Top - QPoint(0, 121));
    EXPECT_TRUE(EscapeCloses(Popup));
}

// Runs Step on the colour dialog as soon as it is open.
void WithColorDialog(const std::function<void(QColorDialog&)>& Step) {
    QTimer::singleShot(0, [Step] {
        ASSERT_TRUE(WaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
        auto* Dialog = dynamic_cast<QColorDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(Dialog, nullptr);
        Step(*Dialog);
    });
}

TEST_F(ColorButtonTest, OtherColourDialogChoosesAndKeepsCustomColoursForTheButton) {
    {
        TColorButtonPalette& Popup = Open();
        const QPointer<TColorButtonPalette> Watch(&Popup);
        WithColorDialog([&](QColorDialog& Dialog) {
            // While the dialog is open the popup refuses to close, deactivated or not.
            EXPECT_TRUE(Popup.DialogOpen());
            EXPECT_FALSE(Popup.close());
            EXPECT_TRUE(Popup.isVisible());
            EXPECT_EQ(Dialog.currentColor(), PaletteQColor(clBtnFace));
            EXPECT_EQ(QColorDialog::customColor(0), QColor(255, 255, 255));
            QColorDialog::setCustomColor(4, QColor(1, 2, 3)); // column 3 of row 1
            QColorDialog::setCustomColor(5, QColor(4, 5, 6)); // column 3 of row 2
            Dialog.setCurrentColor(QColor(10, 20, 30));
            Dialog.accept();
        });
        QTest::mouseClick(Popup.OtherButton(), Qt::LeftButton);
        ASSERT_TRUE(Closed(Watch));
    }
    EXPECT_EQ(Button->Color(), RGB(10, 20, 30));
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(Button->CustomColors().Colors(3, 1), RGB(1, 2, 3));
    EXPECT_EQ(Button->CustomColors().Colors(3, 2), RGB(4, 5, 6));
    EXPECT_EQ(Button->CustomColors().Colors(4, 1), 0xFFFFFF);

    // Another button uses the dialog in between; this button's colours come back with it.
    QColorDialog::setCustomColor(4, Qt::black);
    TColorButtonPalette& Popup = Open();
    const QPointer<TColorButtonPalette> Watch(&Popup);
    EXPECT_EQ(Popup.OtherColor(), RGB(10, 20, 30)); // not a palette colour
    WithColorDialog([&](QColorDialog& Dialog) {
        EXPECT_EQ(QColorDialog::customColor(4), QColor(1, 2, 3));
        EXPECT_EQ(Dialog.currentColor(), QColor(10, 20, 30));
        Dialog.reject();
    });
    QTest::mouseClick(Popup.OtherButton(), Qt::LeftButton);
    // Cancelled: the popup stays open and nothing changed.
    QCoreApplication::processEvents();
    ASSERT_TRUE(Watch);
    EXPECT_TRUE(Popup.isVisible());
    EXPECT_FALSE(Popup.DialogOpen());
    EXPECT_EQ(Changes, 1);
    EXPECT_TRUE(EscapeCloses(Popup));

    // A new button starts from white custom colours again.
    const TColorButton Fresh;
    EXPECT_EQ(Fresh.CustomColors().Colors(3, 1), 0xFFFFFF);
}

TEST_F(ColorButtonTest, DestroyingTheButtonTakesItsPopupAlong) {
    const QPointer<TColorButtonPalette> Popup(&Open());
    delete Button;
    Button = nullptr;
    EXPECT_TRUE(Popup.isNull());
}

} // namespace
