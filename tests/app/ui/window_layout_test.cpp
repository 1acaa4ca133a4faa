// The settings window's layout: caption, size, font, every control at its place with its
// caption, the row below the pages, the controls' own behaviour (spin edit, radio groups), and
// nothing clipped.

#include "app/ui/controls/elided_label.h"
#include "app/ui/controls/line_edit.h"
#include "app/ui/controls/page_control.h"
#include "app/ui/controls/radio_group.h"
#include "app/ui/controls/spin_edit.h"
#include "app/ui/targets_row.h"
#include "pgraphic/view/image_view/pg_image.h"
#include "pgraphic/view/transparent/pg_panel.h"
#include "tests/app/ui/window_fixture.h"
#include "widgets/color_button.h"
#include "widgets/font_combo_box.h"
#include "widgets/icon_file_list_box.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabBar>
#include <algorithm>
#include <span>
#include <vector>

namespace {

struct TPlace {
    const char* Name;
    int Left, Top, Width, Height; // Width and Height 0: sized to the text
    const char* Caption;          // nullptr: a control without a caption of its own
};

// The window's controls by page, as its layout lists them.
const TPlace kGeneralPlaces[] = {
    {"Label2", 22, 16, 0, 0, "Text File to use:"},
    {"Files", 8, 32, 129, 177, nullptr},
    {"Label10", 150, 36, 0, 0, "Question:"},
    {"Edit1", 208, 32, 385, 22, nullptr},
    {"Label11", 152, 80, 0, 0, "Answer:"},
    {"Memo1", 208, 76, 385, 85, nullptr},
    {"btRand", 224, 176, 89, 25, "Select"},
    {"btUse", 360, 176, 89, 25, "Use"},
    {"btSaveLogos", 488, 176, 89, 25, "Save Logos"},
    {"btNavigate", 49, 228, 225, 25, nullptr},
    {"btHelp", 49, 260, 225, 25, "Help"},
    {"btStart", 337, 228, 225, 25, "Create a shortcut in the Startup Group"},
    {"btSaveExit", 337, 260, 225, 25, "Save Changes and Exit"},
};

// A control of the logo pages: at the same place on both, under each page's own name. The
// second page's caption is the first's unless LastCaption gives it.
struct TLogoPlace {
    const char* FirstName;
    const char* LastName;
    int Left, Top, Width, Height;
    const char* Caption;
    const char* LastCaption = nullptr;
};

const TLogoPlace kLogoPlaces[] = {
    {"Label6", "Label4", 12, 12, 0, 0, "Text settings"},
    {"Bevel3", "Bevel1", 8, 28, 201, 129, nullptr},
    {"FirstFont", "LastFont", 16, 36, 177, 22, nullptr},
    {"Label7", "Label5", 20, 68, 0, 0, "Text Color"},
    {"bcFirstFontColor", "bcLastFontColor", 80, 64, 45, 22, nullptr},
    {"seFirst", "seLast", 144, 64, 49, 23, nullptr},
    {"rgFirstEffect", "rgLastEffect", 12, 92, 125, 61, "Text Effect"},
    {"bcFirstShadowColor", "bcLastShadowColor", 84, 116, 45, 22, nullptr},
    {"cbBoldFirst", "cbBoldLast", 148, 108, 0, 0, "Bold"},
    {"cbItalicFirst", "cbItalicLast", 148, 128, 0, 0, "Italic"},
    {"Label8", "Label3", 12, 160, 0, 0, "Background Settings", "Background settings"},
    {"rgFirstBackground", "rgLastBackground", 8, 176, 201, 89, ""},
    {"bcFirstSingleColor", "bcLastSingleColor", 96, 188, 45, 22, nullptr},
    {"bcFirstColor1", "bcLastColor1", 96, 212, 45, 22, nullptr},
    {"bcFirstColor2", "bcLastColor2", 144, 212, 45, 22, nullptr},
    {"btFirstSelect", "btLastSelect", 96, 236, 93, 21, "Select"},
    {"btPreview1", "btPreview2", 63, 268, 75, 25, "Preview"},
    {"cbAsInstalledFirst", "cbAsInstalledLast", 141, 271, 0, 0, "As installed"},
    {"rgFirst", "rgLast", 224, 18, 33, 209, ""},
    {"Panel2", "Panel1", 270, 16, 332, 212, nullptr},
    {"Label9", "Label1", 224, 244, 0, 0, "Default Text:"},
    {"edFirst", "edLast", 296, 240, 313, 22, nullptr},
    {"cbOnlyFirst", "cbOnlyLast", 224, 276, 0, 0,
     "Use Only the first logo (Question on top answer on bottom)",
     "Use Only the second logo (Question on top answer on bottom)"},
};

// The places of logo page Logo (1 or 2).
std::vector<TPlace> LogoPlaces(int Logo) {
    std::vector<TPlace> Places;
    for (const TLogoPlace& P : kLogoPlaces) {
        const bool First = Logo == 1;
        Places.push_back({First ? P.FirstName : P.LastName, P.Left, P.Top, P.Width, P.Height,
                          First || P.LastCaption == nullptr ? P.Caption : P.LastCaption});
    }
    return Places;
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

void ExpectPlaces(const QWidget& Page, std::span<const TPlace> Places) {
    for (const TPlace& P : Places) {
        SCOPED_TRACE(P.Name);
        const auto* Control = Page.findChild<QWidget*>(QString::fromLatin1(P.Name));
        ASSERT_NE(Control, nullptr);
        EXPECT_EQ(Control->parentWidget(), &Page);
        EXPECT_EQ(Control->pos(), QPoint(P.Left, P.Top));
        if (P.Width > 0) {
            EXPECT_EQ(Control->size(), QSize(P.Width, P.Height));
        }
        if (P.Caption != nullptr) {
            EXPECT_EQ(CaptionOf(Control), QString::fromUtf8(P.Caption));
        }
        // Nothing clipped: the control lies inside its page and its text fits it.
        EXPECT_TRUE(Page.rect().contains(Control->geometry()))
            << Control->geometry().right() << "," << Control->geometry().bottom() << " beyond "
            << Page.width() << "x" << Page.height();
        if (qobject_cast<const QLabel*>(Control) != nullptr ||
            qobject_cast<const QAbstractButton*>(Control) != nullptr) {
            EXPECT_LE(Control->fontMetrics().horizontalAdvance(CaptionOf(Control)),
                      Control->width());
            EXPECT_GE(Control->height(), Control->fontMetrics().height());
        }
    }
}

} // namespace

TEST_F(WindowTest, CaptionSizeFontAndPages) {
    Start();
    EXPECT_EQ(Window.windowTitle(), QStringLiteral("Vespera - Version 2.0.2"));
    // The pages keep their 620 x 329; the row that shows where the logos go lies below them.
    EXPECT_EQ(Window.size(), QSize(620, 362));
    EXPECT_EQ(Window.minimumSize(), Window.maximumSize()); // fixed
    EXPECT_TRUE(Window.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(Window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(Window.font().pixelSize(), 11);
    // "Arial" itself or the family that stands in for it.
    const QString Family = QFontInfo(Window.font()).family();
    EXPECT_TRUE(Family == QLatin1String("Arial") || Family == QLatin1String("Liberation Sans"))
        << Family.toStdString();

    TPageControl& Pages = *Window.Pages();
    EXPECT_EQ(Pages.geometry(), QRect(0, 0, 620, 329));
    const TTargetsRow& Row = *Window.TargetsRow();
    EXPECT_EQ(Row.geometry(), QRect(0, 329, 620, 33));
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

TEST_F(WindowTest, EveryControlAtItsPlaceWithItsCaptionAndNothingClipped) {
    Start();
    ExpectPlaces(General(), kGeneralPlaces);
    ShowPage(1);
    ExpectPlaces(First(), LogoPlaces(1));
    ShowPage(2);
    ExpectPlaces(Last(), LogoPlaces(2));
    // Every page is as large as the first.
    EXPECT_EQ(First().size(), General().size());
    EXPECT_EQ(Last().size(), General().size());

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
        EXPECT_FALSE(Page->DefaultText->HideSelection());
        // "As installed" found room of its own beside "Preview": it touches no other control.
        for (const QWidget* Other : Page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (Other != Page->AsInstalled) {
                EXPECT_FALSE(Page->AsInstalled->geometry().intersects(Other->geometry()))
                    << Other->objectName().toStdString();
            }
        }
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
