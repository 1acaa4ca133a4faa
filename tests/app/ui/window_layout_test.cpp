// The settings window's layout: caption, size, font, every control under its name with its
// caption, nothing clipped, covered or cut short, the choices' buttons beside their choices, the
// row below the pages and the controls' own behaviour (spin edit, radio groups).

#include "app/ui/controls/elided_label.h"
#include "app/ui/controls/page_control.h"
#include "app/ui/controls/radio_group.h"
#include "app/ui/controls/spin_edit.h"
#include "app/ui/targets_row.h"
#include "pgraphic/view/image_view/pg_image.h"
#include "pgraphic/view/transparent/pg_bevel.h"
#include "pgraphic/view/transparent/pg_panel.h"
#include "tests/app/ui/window_fixture.h"
#include "widgets/color_button.h"
#include "widgets/font_combo_box.h"
#include "widgets/icon_file_list_box.h"

#include <QAbstractButton>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabBar>
#include <algorithm>
#include <span>
#include <vector>

namespace {

// A control of the window under its name, with the caption it shows (nullptr: none of its own).
struct TNamed {
    const char* Name;
    const char* Caption;
};

const TNamed kGeneralControls[] = {{"Label2", "Text File to use:"},
                                   {"Files", nullptr},
                                   {"Label10", "Question:"},
                                   {"Edit1", nullptr},
                                   {"Label11", "Answer:"},
                                   {"Memo1", nullptr},
                                   {"btRand", "Select"},
                                   {"btUse", "Use"},
                                   {"btSaveLogos", "Save Logos"},
                                   {"btNavigate", nullptr},
                                   {"btHelp", "Help"},
                                   {"btStart", "Create a shortcut in the Startup Group"},
                                   {"btSaveExit", "Save Changes and Exit"}};

// A control of the logo pages, under each page's own name. The second page's caption is the
// first's unless LastCaption gives it.
struct TLogoNamed {
    const char* FirstName;
    const char* LastName;
    const char* Caption;
    const char* LastCaption = nullptr;
};

const TLogoNamed kLogoControls[] = {
    {"Label6", "Label4", "Text settings"},
    {"Bevel3", "Bevel1", nullptr},
    {"FirstFont", "LastFont", nullptr},
    {"Label7", "Label5", "Text Color"},
    {"bcFirstFontColor", "bcLastFontColor", nullptr},
    {"seFirst", "seLast", nullptr},
    {"rgFirstEffect", "rgLastEffect", "Text Effect"},
    {"bcFirstShadowColor", "bcLastShadowColor", nullptr},
    {"cbBoldFirst", "cbBoldLast", "Bold"},
    {"cbItalicFirst", "cbItalicLast", "Italic"},
    {"Label8", "Label3", "Background Settings", "Background settings"},
    {"rgFirstBackground", "rgLastBackground", ""},
    {"bcFirstSingleColor", "bcLastSingleColor", nullptr},
    {"bcFirstColor1", "bcLastColor1", nullptr},
    {"bcFirstColor2", "bcLastColor2", nullptr},
    {"btFirstSelect", "btLastSelect", "Select"},
    {"btPreview1", "btPreview2", "Preview"},
    {"cbAsInstalledFirst", "cbAsInstalledLast", "As installed"},
    {"rgFirst", "rgLast", ""},
    {"Panel2", "Panel1", nullptr},
    {"Label9", "Label1", "Default Text:"},
    {"edFirst", "edLast", nullptr},
    {"cbOnlyFirst", "cbOnlyLast", "Use Only the first logo (Question on top answer on bottom)",
     "Use Only the second logo (Question on top answer on bottom)"}};

// The names and captions of logo page Logo (1 or 2).
std::vector<TNamed> LogoControls(int Logo) {
    std::vector<TNamed> Controls;
    for (const TLogoNamed& C : kLogoControls) {
        const bool First = Logo == 1;
        Controls.push_back({First ? C.FirstName : C.LastName,
                            First || C.LastCaption == nullptr ? C.Caption : C.LastCaption});
    }
    return Controls;
}

QString CaptionOf(const QWidget* Control) {
    if (const auto* Label = qobject_cast<const QLabel*>(Control)) {
        return Label->text();
    }
    if (const auto* Button = qobject_cast<const QAbstractButton*>(Control)) {
        return Button->text();
    }
    if (const auto* Group = dynamic_cast<const TRadioGroup*>(Control)) {
        return Group->title();
    }
    return {};
}

void ExpectNamesAndCaptions(const QWidget& Page, std::span<const TNamed> Controls) {
    for (const TNamed& C : Controls) {
        SCOPED_TRACE(C.Name);
        const auto* Control = Page.findChild<QWidget*>(QString::fromLatin1(C.Name));
        ASSERT_NE(Control, nullptr);
        EXPECT_EQ(Control->parentWidget(), &Page);
        if (C.Caption != nullptr) {
            EXPECT_EQ(CaptionOf(Control), QString::fromUtf8(C.Caption));
        }
    }
}

// The frame, a bevel or a radio group's box, of the two that holds the other whole; none else.
const QWidget* FrameOf(const QWidget& A, const QWidget& B) {
    for (const auto& [Outer, Inner] : {std::pair{&A, &B}, std::pair{&B, &A}}) {
        if ((dynamic_cast<const TPGBevel*>(Outer) != nullptr ||
             dynamic_cast<const TPGGroupBox*>(Outer) != nullptr) &&
            Outer->geometry().contains(Inner->geometry())) {
            return Outer;
        }
    }
    return nullptr;
}

// Every control of Page lies inside the page, which lies inside Window; its text fits it; and no
// two controls overlap unless one stands inside a frame, above it, so that a click reaches it.
void ExpectNothingClippedOrCovered(const QWidget& Window, const QWidget& Page) {
    EXPECT_TRUE(Window.rect().contains(QRect(Page.mapTo(&Window, QPoint()), Page.size())));
    const QList<QWidget*> Controls = Page.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (qsizetype I = 0; I < Controls.size(); ++I) {
        const QWidget& Control = *Controls[I];
        SCOPED_TRACE(Control.objectName().toStdString());
        EXPECT_TRUE(Page.rect().contains(Control.geometry()))
            << Page.width() << "x" << Page.height();
        if (qobject_cast<const QLabel*>(&Control) != nullptr ||
            qobject_cast<const QAbstractButton*>(&Control) != nullptr) {
            // A push button's frame may take in its text's margins; a label's or a check box's
            // text, with its box, must fit whole.
            const int Needed = qobject_cast<const QPushButton*>(&Control) != nullptr
                                   ? Control.fontMetrics().horizontalAdvance(CaptionOf(&Control))
                                   : Control.sizeHint().width();
            EXPECT_LE(Needed, Control.width());
            EXPECT_GE(Control.height(), Control.fontMetrics().height());
        }
        for (qsizetype J = I + 1; J < Controls.size(); ++J) {
            const QWidget& Other = *Controls[J];
            if (!Control.geometry().intersects(Other.geometry())) {
                continue;
            }
            const QWidget* Frame = FrameOf(Control, Other);
            EXPECT_NE(Frame, nullptr) << "overlaps " << Other.objectName().toStdString();
            // Qt stacks later children above earlier ones: the frame's must come first.
            EXPECT_TRUE(Frame == nullptr || Frame == &Control)
                << "under " << Other.objectName().toStdString();
        }
    }
}

// Control stands beside the choice it belongs to: level with the choice's button and to the
// right of its text.
void ExpectBeside(const QWidget& Control, const QRadioButton& Choice) {
    SCOPED_TRACE(Control.objectName().toStdString() + " beside " + Choice.text().toStdString());
    const QPoint Corner = Choice.mapTo(Control.parentWidget(), QPoint());
    const int Middle = Corner.y() + Choice.height() / 2;
    EXPECT_LE(Control.y(), Middle);
    EXPECT_GE(Control.geometry().bottom(), Middle);
    const QStyle& Style = *Choice.style();
    const int TextEnd = Corner.x() +
                        Style.pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, &Choice) +
                        Style.pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, &Choice) +
                        Choice.fontMetrics().horizontalAdvance(Choice.text());
    EXPECT_GT(Control.x(), TextEnd);
}

} // namespace

TEST_F(WindowTest, CaptionSizeFontAndPages) {
    Start();
    EXPECT_EQ(Window.windowTitle(), QStringLiteral("Vespera - Version 2.0.2"));
    EXPECT_EQ(Window.minimumSize(), Window.maximumSize()); // fixed
    EXPECT_TRUE(Window.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(Window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(Window.font().pixelSize(), 11);
    // "Arial" itself or the family that stands in for it.
    const QString Family = QFontInfo(Window.font()).family();
    EXPECT_TRUE(Family == QLatin1String("Arial") || Family == QLatin1String("Liberation Sans"))
        << Family.toStdString();

    // The pages keep their 620 x 329; the row that shows where the logos go fills the window
    // below them.
    TPageControl& Pages = *Window.Pages();
    EXPECT_EQ(Pages.geometry(), QRect(0, 0, 620, 329));
    const TTargetsRow& Row = *Window.TargetsRow();
    EXPECT_EQ(Row.geometry(), QRect(0, 329, 620, Window.height() - 329));
    EXPECT_EQ(Row.btChangeTargets->text(), QStringLiteral("Change…"));
    // Caption, targets and button side by side inside the row, each as high as its text.
    const QWidget* Parts[] = {Row.lbTargetsCaption, Row.lbTargets, Row.btChangeTargets};
    for (std::size_t I = 0; I < std::size(Parts); ++I) {
        SCOPED_TRACE(Parts[I]->objectName().toStdString());
        EXPECT_TRUE(Row.rect().contains(Parts[I]->geometry()));
        EXPECT_GE(Parts[I]->height(), Parts[I]->fontMetrics().height());
        if (I > 0) {
            EXPECT_LT(Parts[I - 1]->geometry().right(), Parts[I]->x());
        }
    }
    EXPECT_LE(Row.btChangeTargets->fontMetrics().horizontalAdvance(Row.btChangeTargets->text()),
              Row.btChangeTargets->width());
    ASSERT_EQ(Pages.count(), 3);
    EXPECT_EQ(Pages.tabText(0), QStringLiteral("General Settings"));
    EXPECT_EQ(Pages.tabText(1), QStringLiteral("First Logo"));
    EXPECT_EQ(Pages.tabText(2), QStringLiteral("Second Logo"));
    for (int I = 0; I < 3; ++I) {
        EXPECT_EQ(Pages.tabBar()->tabRect(I).width(), 205);
    }
    EXPECT_EQ(Pages.ActivePageIndex(), 0);
    EXPECT_TRUE(General().btSaveExit->isDefault());
    EXPECT_EQ(General().btNavigate->text(),
              QStringLiteral("Go to ") + QStringLiteral(VESPERA_HOME_PAGE));
}

TEST_F(WindowTest, EveryControlNamedCaptionedAndNeitherClippedNorCovered) {
    Start();
    ExpectNamesAndCaptions(General(), kGeneralControls);
    ExpectNothingClippedOrCovered(Window, General());
    for (const int Logo : {1, 2}) {
        ShowPage(Logo);
        TLogoPage& Page = Logo == 1 ? First() : Last();
        ExpectNamesAndCaptions(Page, LogoControls(Logo));
        ExpectNothingClippedOrCovered(Window, Page);
        // Each colour button and "Select" stands beside the choice it serves.
        ExpectBeside(*Page.ShadowColor, *Page.Effect->Button(1));
        ExpectBeside(*Page.SingleColor, *Page.Background->Button(0));
        ExpectBeside(*Page.GradientTop, *Page.Background->Button(1));
        ExpectBeside(*Page.GradientBottom, *Page.Background->Button(1));
        ExpectBeside(*Page.Select, *Page.Background->Button(2));
    }

    for (TLogoPage* Page : {&First(), &Last()}) {
        // The kinds of the controls.
        EXPECT_NE(dynamic_cast<TFontComboBox*>(Page->Font), nullptr);
        EXPECT_NE(dynamic_cast<TSpinEdit*>(Page->Size), nullptr);
        EXPECT_EQ(Page->Size->minimum(), 8);
        EXPECT_EQ(Page->Size->maximum(), 72);
        EXPECT_TRUE(Page->TextSettingsLabel->font().bold());
        EXPECT_TRUE(Page->BackgroundLabel->font().bold());
        for (TColorButton* Button : {Page->FontColor, Page->ShadowColor, Page->SingleColor,
                                     Page->GradientTop, Page->GradientBottom}) {
            EXPECT_EQ(Button->OtherBtnCaption(), QStringLiteral("&Other"));
        }
        const QStringList Effects{"Nothing", "Shadow", "3D"};
        const QStringList Kinds{"Single", "Degraded", "Bitmap"};
        for (int I = 0; I < 3; ++I) {
            EXPECT_EQ(Page->Effect->Button(I)->text(), Effects[I]);
            EXPECT_EQ(Page->Background->Button(I)->text(), Kinds[I]);
            EXPECT_TRUE(Page->Position->Button(I)->text().isEmpty());
        }
        // The strip's buttons run from top to bottom.
        EXPECT_LT(Page->Position->Button(0)->y(), Page->Position->Button(1)->y());
        EXPECT_LT(Page->Position->Button(1)->y(), Page->Position->Button(2)->y());
        // The preview fills its sunken panel: the logo at half its size.
        EXPECT_EQ(Page->Image->parentWidget(), Page->PreviewPanel);
        EXPECT_EQ(Page->Image->geometry(), Page->PreviewPanel->InteriorRect());
        EXPECT_EQ(Page->Image->size(), QSize(320, 200));
        EXPECT_EQ(Page->Image->Stretch(), sAlways);
        EXPECT_EQ(Page->Image->BorderStyle(), bsNone);
        EXPECT_EQ(Page->Image->ZoomFactor(), 1.0L);
        EXPECT_EQ(Page->PreviewPanel->BevelOuter(), bvLowered);
    }
    EXPECT_EQ(First().Image->objectName(), QStringLiteral("ImFirst"));
    EXPECT_EQ(Last().Image->objectName(), QStringLiteral("ImLast"));
    EXPECT_EQ(General().Files->Mask(), "*.txt");
    EXPECT_EQ(General().Files->ItemHeight(), 18);
}

// Every radio group stands its buttons in one column inside its etched frame (lines two pixels
// wide) and below its caption, each as high as what it shows, with equal free rows above,
// between and below them: none touches another, the caption or the frame.
TEST_F(WindowTest, RadioGroupsSpaceTheirButtonsEvenlyWithNothingTouching) {
    Start();
    for (const TLogoPage* Page : {&First(), &Last()}) {
        ShowPage(Page == &First() ? 1 : 2);
        for (const TRadioGroup* Group : {Page->Effect, Page->Background, Page->Position}) {
            SCOPED_TRACE(Group->objectName().toStdString());
            const int TextHeight = Group->fontMetrics().height();
            const int FirstFree = Group->title().isEmpty() ? TextHeight / 2 + 1 : TextHeight;
            const int LastFree = Group->height() - 3;
            std::vector<int> Gaps;
            int Next = FirstFree;
            for (int I = 0; I < Group->Count(); ++I) {
                const QRadioButton& Button = *Group->Button(I);
                const QRect Place = Button.geometry();
                EXPECT_GE(Place.height(),
                          Button.style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, nullptr,
                                                      &Button));
                if (!Button.text().isEmpty()) {
                    EXPECT_GE(Place.height(), TextHeight);
                    EXPECT_GE(Place.width(), Button.sizeHint().width());
                }
                EXPECT_GE(Place.left(), 3);
                EXPECT_LE(Place.right(), Group->width() - 4);
                Gaps.push_back(Place.top() - Next);
                Next = Place.bottom() + 1;
            }
            Gaps.push_back(LastFree + 1 - Next);
            const auto [Least, Most] = std::minmax_element(Gaps.begin(), Gaps.end());
            EXPECT_GE(*Least, 1);
            EXPECT_LE(*Most - *Least, 1);
        }
    }
}
