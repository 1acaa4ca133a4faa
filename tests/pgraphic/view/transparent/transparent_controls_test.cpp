#include "pgraphic/view/transparent/pg_bevel.h"
#include "pgraphic/view/transparent/pg_check_box.h"
#include "pgraphic/view/transparent/pg_group_box.h"
#include "pgraphic/view/transparent/pg_label.h"
#include "pgraphic/view/transparent/pg_panel.h"
#include "pgraphic/view/transparent/pg_radio_button.h"
#include "pgraphic/view/transparent/transparent_control.h"
#include "tests/pgraphic/view/transparent/picture_widget.h"

#include <QCoreApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace {

// Control colours that the test picture never has.
constexpr QRgb kText = 0xFF0000FF;
constexpr QRgb kLight = 0xFFFAFAFA;
constexpr QRgb kDark = 0xFF5A5A5A;
constexpr QRgb kYellow = 0xFFFFFF00;

void SetTestColors(QWidget& Control) {
    QPalette Palette = Control.palette();
    Palette.setColor(QPalette::WindowText, kText);
    Palette.setColor(QPalette::Light, kLight);
    Palette.setColor(QPalette::Dark, kDark);
    Control.setPalette(Palette);
}

// Lets Qt deliver the pending repaints.
void Settle() {
    for (int Round = 0; Round < 3; ++Round) {
        QCoreApplication::processEvents();
    }
}

void ShowAndSettle(QWidget& Window) {
    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    Settle();
}

// What the window shows: the content of its backing store, which holds only what was repainted.
QImage Shown(QWidget& Window) {
    return Window.screen()
        ->grabWindow(Window.winId())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// How many pixels of Rect in Image differ from the test picture.
int PictureMismatches(const QImage& Image, const QRect& Rect) {
    int Count = 0;
    for (int Y = Rect.top(); Y <= Rect.bottom(); ++Y) {
        for (int X = Rect.left(); X <= Rect.right(); ++X) {
            Count += Image.pixel(X, Y) != PictureColor(X, Y) ? 1 : 0;
        }
    }
    return Count;
}

// How many pixels of Rect in Image are text (blue beyond anything in the picture).
int TextPixels(const QImage& Image, const QRect& Rect) {
    int Count = 0;
    for (int Y = Rect.top(); Y <= Rect.bottom(); ++Y) {
        for (int X = Rect.left(); X <= Rect.right(); ++X) {
            const QRgb Pixel = Image.pixel(X, Y);
            Count += qBlue(Pixel) > 210 && qRed(Pixel) < 200 ? 1 : 0;
        }
    }
    return Count;
}

// A control that remembers what it painted.
template <typename Base>
class TRecording : public Base {
public:
    using Base::Base;
    QRegion Painted;

protected:
    void paintEvent(QPaintEvent* Event) override {
        Painted += Event->region();
        Base::paintEvent(Event);
    }
};

class TCountingCheckBox : public TPGCheckBox {
public:
    using TPGCheckBox::TPGCheckBox;
    int Invalidations = 0;
    void Invalidate() override {
        ++Invalidations;
        TPGCheckBox::Invalidate();
    }
};

TEST(TransparentControls, MovingALabelRepaintsOldAndNewPlaceWithThePictureBelow) {
    TPictureWidget Window;
    Window.resize(240, 140);
    auto* Label = new TPGLabel("Hello", &Window);
    SetTestColors(*Label);
    Label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label->setGeometry(10, 10, 100, 40);
    ShowAndSettle(Window);
    const QRect Old = Label->geometry();
    ASSERT_GT(TextPixels(Shown(Window), Old), 0);

    Label->move(120, 80);
    Settle();
    const QImage After = Shown(Window);
    EXPECT_EQ(PictureMismatches(After, Old), 0);
    const QRect New = Label->geometry();
    EXPECT_GT(TextPixels(After, New), 0);
    // Below its text the label shows the picture.
    EXPECT_EQ(PictureMismatches(After, New.adjusted(0, 30, 0, 0)), 0);
}

TEST(TransparentControls, LabelsAndButtonsSwitchedOffFillWithColor) {
    TPictureWidget Window;
    Window.resize(240, 140);
    ShowAndSettle(Window);
    const auto Check = [&Window](auto* Control) {
        SetTestColors(*Control);
        Control->setGeometry(10, 10, 200, 40);
        Control->show();
        Settle();
        const QRect Corner(Control->geometry().bottomRight() - QPoint(9, 5), QSize(10, 6));
        EXPECT_EQ(PictureMismatches(Shown(Window), Corner), 0);

        Control->SetColor(kYellow);
        Control->SetTransparent(false);
        Settle();
        const QImage After = Shown(Window);
        EXPECT_EQ(After.pixel(Corner.topLeft()), kYellow);
        EXPECT_EQ(After.pixel(Corner.bottomRight()), kYellow);
        delete Control;
    };
    Check(new TPGLabel("Label", &Window));
    Check(new TPGCheckBox("Box", &Window));
    Check(new TPGRadioButton("Radio", &Window));
}

TEST(TransparentControls, ACheckBoxOnATransparentPanelRepaintsTheWholePanel) {
    TPictureWidget Window;
    Window.resize(240, 160);
    auto* Panel = new TRecording<TPGPanel>(&Window);
    Panel->setGeometry(20, 20, 200, 120);
    auto* Box = new TPGCheckBox("First", Panel);
    Box->setGeometry(10, 10, 100, 24);
    auto* Sibling = new TRecording<TPGCheckBox>("Second", Panel);
    Sibling->setGeometry(10, 60, 100, 24);
    ShowAndSettle(Window);

    const auto Forget = [&] {
        Window.Forget();
        Panel->Painted = QRegion();
        Sibling->Painted = QRegion();
    };
    Forget();
    Box->setChecked(true);
    Settle();
    EXPECT_EQ(Panel->Painted, QRegion(Panel->rect()));
    EXPECT_TRUE((QRegion(Panel->geometry()) - Window.Painted).isEmpty());
    EXPECT_EQ(Sibling->Painted, QRegion(Sibling->rect()));

    // Under an opaque panel a change repaints only the box's own rectangle.
    Panel->SetTransparent(false);
    Settle();
    Forget();
    Box->setChecked(false);
    Settle();
    EXPECT_EQ(Panel->Painted, QRegion(Box->geometry()));
    EXPECT_TRUE(Window.Painted.isEmpty());
    EXPECT_TRUE(Sibling->Painted.isEmpty());
}

TEST(TransparentControls, ChainsOfTransparentControlsInvalidateEachControlOnce) {
    TPictureWidget Window;
    Window.resize(240, 160);
    auto* Outer = new TRecording<TPGPanel>(&Window);
    Outer->setGeometry(10, 10, 220, 140);
    auto* Inner = new TPGGroupBox("Inner", Outer);
    Inner->setGeometry(10, 10, 200, 120);
    std::vector<TCountingCheckBox*> Boxes;
    for (int Index = 0; Index < 8; ++Index) {
        Boxes.push_back(new TCountingCheckBox(QString::number(Index), Inner));
        Boxes.back()->setGeometry(10 + 90 * (Index % 2), 20 + 24 * (Index / 2), 80, 20);
    }
    ShowAndSettle(Window);
    Outer->Painted = QRegion();
    for (auto* Box : Boxes) {
        Box->Invalidations = 0;
    }

    // Up to the outer panel and back down to every box, without looping or calling any box
    // more than once beyond the call that started it.
    Boxes[3]->Invalidate();
    Settle();
    EXPECT_EQ(Outer->Painted, QRegion(Outer->rect()));
    for (int Index = 0; Index < 8; ++Index) {
        EXPECT_EQ(Boxes[Index]->Invalidations, Index == 3 ? 2 : 1) << Index;
    }
}

TEST(TransparentControls, IsTransparentControlAnswers) {
    TPGPanel Panel;
    TPGBevel Bevel;
    TPGLabel Label;
    TPGCheckBox Box;
    TPGRadioButton Radio;
    TPGGroupBox Group;
    TRecording<TPGPanel> DerivedPanel;
    QWidget Plain;
    for (const QWidget* Control :
         std::vector<const QWidget*>{&Panel, &Bevel, &Label, &Box, &Radio, &Group, &DerivedPanel}) {
        EXPECT_TRUE(IsTransparentControl(Control));
    }
    EXPECT_FALSE(IsTransparentControl(&Plain));
    EXPECT_FALSE(IsTransparentControl(nullptr));

    Panel.SetTransparent(false);
    Label.SetTransparent(false);
    EXPECT_FALSE(IsTransparentControl(&Panel));
    EXPECT_FALSE(IsTransparentControl(&Label));
    Panel.SetTransparent(true);
    EXPECT_TRUE(IsTransparentControl(&Panel));
}

TEST(TransparentControls, GroupBoxSwitchedOffFillsWithColorAndKeepsItsCaption) {
    TPictureWidget Window;
    Window.resize(240, 140);
    auto* Group = new TPGGroupBox("Options", &Window);
    SetTestColors(*Group);
    Group->SetColor(kYellow);
    Group->setGeometry(20, 20, 180, 100);
    ShowAndSettle(Window);
    const QPoint Origin = Group->pos();
    const QRect Caption = Group->CaptionRect().translated(Origin);
    const QPoint Inside = Origin + QPoint(90, 60);
    const QPoint LeftOfCaption = Origin + QPoint(3, 1);
    const int FrameTop = Origin.y() + Group->fontMetrics().height() / 2 - 1;

    QImage Image = Shown(Window);
    EXPECT_EQ(PictureMismatches(Image, QRect(Inside, QSize(10, 10))), 0);
    EXPECT_EQ(PictureMismatches(Image, QRect(LeftOfCaption, QSize(1, 1))), 0);
    EXPECT_GT(TextPixels(Image, Caption), 0);
    // The etched frame's top line, up to the caption.
    EXPECT_EQ(Image.pixel(Origin.x() + 4, FrameTop), kDark);
    EXPECT_EQ(Image.pixel(Origin.x() + 4, FrameTop + 1), kLight);
    EXPECT_NE(Image.pixel(Caption.left() - 1, FrameTop), kDark);

    Group->SetTransparent(false);
    Settle();
    Image = Shown(Window);
    EXPECT_EQ(Image.pixel(Inside), kYellow);
    EXPECT_EQ(Image.pixel(LeftOfCaption), kYellow);
    EXPECT_EQ(Image.pixel(Caption.left() - 1, FrameTop), kYellow);
    EXPECT_GT(TextPixels(Image, Caption), 0);
    EXPECT_EQ(Image.pixel(Origin.x() + 4, FrameTop), kDark);
}

TEST(TransparentControls, PanelPaintsBevelsAndBorderAndShowsThePictureInside) {
    TPictureWidget Window;
    Window.resize(240, 140);
    auto* Panel = new TPGPanel(&Window);
    SetTestColors(*Panel);
    Panel->SetColor(kYellow);
    Panel->SetBevelInner(bvLowered);
    Panel->SetBorderWidth(2);
    Panel->SetCaption("Caption");
    Panel->setGeometry(20, 20, 200, 100);
    ShowAndSettle(Window);
    const QPoint O = Panel->pos();
    const QRect Interior = Panel->InteriorRect().translated(O);
    ASSERT_EQ(Interior, QRect(O + QPoint(4, 4), QSize(192, 92)));

    QImage Image = Shown(Window);
    EXPECT_EQ(Image.pixel(O + QPoint(50, 0)), kLight);  // outer raised bevel
    EXPECT_EQ(Image.pixel(O + QPoint(199, 50)), kDark); //
    EXPECT_EQ(Image.pixel(O + QPoint(50, 1)), kYellow); // border band
    EXPECT_EQ(Image.pixel(O + QPoint(50, 2)), kYellow);
    EXPECT_EQ(Image.pixel(O + QPoint(50, 3)), kDark);    // inner lowered bevel
    EXPECT_EQ(Image.pixel(O + QPoint(196, 50)), kLight); //
    EXPECT_EQ(PictureMismatches(Image, QRect(Interior.topLeft(), QSize(40, 20))), 0);
    EXPECT_GT(TextPixels(Image, Interior), 0);

    Panel->SetTransparent(false);
    Settle();
    Image = Shown(Window);
    EXPECT_EQ(Image.pixel(Interior.topLeft()), kYellow);
    EXPECT_EQ(Image.pixel(Interior.bottomRight()), kYellow);
    EXPECT_GT(TextPixels(Image, Interior), 0);
}

} // namespace
