#include "app/ui/logo_page.h"

#include "app/ui/control_placing.h"
#include "app/ui/controls/line_edit.h"
#include "app/ui/controls/radio_group.h"
#include "app/ui/controls/spin_edit.h"
#include "pgraphic/view/image_view/pg_image.h"
#include "pgraphic/view/transparent/pg_bevel.h"
#include "pgraphic/view/transparent/pg_panel.h"
#include "widgets/color_button.h"
#include "widgets/font_combo_box.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// A colour button with the window's choices: the default palette and custom colours, and the
// other-colour button captioned "&Other".
TColorButton* ColorButton(QWidget* Page, const QString& Name, int Left, int Top) {
    auto* Button = Place(new TColorButton(Page), Name, Left, Top, 45, 22);
    Button->SetOtherBtnCaption(QStringLiteral("&Other"));
    return Button;
}

} // namespace

TLogoPage::TLogoPage(TLogo Logo, QWidget* Parent) : QWidget(Parent), FLogo(Logo) {
    // The window's names of this page's controls: "First"/"Last" inside, numbers for the rest.
    const QString Side = TPerLogo<QString>{{QStringLiteral("First"), QStringLiteral("Last")}}[Logo];
    const auto Named = [&](const char* Before, const char* After = "") {
        return QString::fromLatin1(Before) + Side + QString::fromLatin1(After);
    };
    const auto Numbered = [&](const char* Kind, TPerLogo<int> Numbers) {
        return QString::fromLatin1(Kind) + QString::number(Numbers[Logo]);
    };
    using S = TSetting;

    TextSettingsLabel = PlaceLabel(new QLabel(QStringLiteral("Text settings"), this),
                                   Numbered("Label", {{6, 4}}), 12, 12);
    MakeBold(TextSettingsLabel);
    TextSettingsBevel = Place(new TPGBevel(this), Numbered("Bevel", {{3, 1}}), 8, 28, 201, 129);
    TextSettingsBevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Font = Showing(S::Font,
                   Place(new TFontComboBox(this), Side + QStringLiteral("Font"), 16, 36, 177, 22));
    TextColorLabel = PlaceLabel(new QLabel(QStringLiteral("Text Color"), this),
                                Numbered("Label", {{7, 5}}), 20, 68);
    FontColor = Showing(S::TextColor, ColorButton(this, Named("bc", "FontColor"), 80, 64));
    Size = Showing(S::Size,
                   Place(new TSpinEdit(TLogoValues::kMinFontSize, TLogoValues::kMaxFontSize, this),
                         Named("se"), 144, 64, 49, 23));
    Effect =
        Showing(S::Effect, Place(new TRadioGroup(QStringLiteral("Text Effect"),
                                                 {QStringLiteral("Nothing"),
                                                  QStringLiteral("Shadow"), QStringLiteral("3D")},
                                                 this),
                                 Named("rg", "Effect"), 12, 92, 125, 61));
    ShadowColor = Showing(S::ShadowColor, ColorButton(this, Named("bc", "ShadowColor"), 84, 116));
    Bold = Showing(S::Bold, PlaceCheckBox(new QCheckBox(QStringLiteral("Bold"), this),
                                          Named("cbBold"), 148, 108));
    Italic = Showing(S::Italic, PlaceCheckBox(new QCheckBox(QStringLiteral("Italic"), this),
                                              Named("cbItalic"), 148, 128));

    BackgroundLabel =
        PlaceLabel(new QLabel(TPerLogo<QString>{{QStringLiteral("Background Settings"),
                                                 QStringLiteral("Background settings")}}[Logo],
                              this),
                   Numbered("Label", {{8, 3}}), 12, 160);
    MakeBold(BackgroundLabel);
    Background = Showing(
        S::Background, Place(new TRadioGroup(QString(),
                                             {QStringLiteral("Single"), QStringLiteral("Degraded"),
                                              QStringLiteral("Bitmap")},
                                             this),
                             Named("rg", "Background"), 8, 176, 201, 89));
    SingleColor = Showing(S::SingleColor, ColorButton(this, Named("bc", "SingleColor"), 96, 188));
    GradientTop = Showing(S::GradientTop, ColorButton(this, Named("bc", "Color1"), 96, 212));
    GradientBottom = Showing(S::GradientBottom, ColorButton(this, Named("bc", "Color2"), 144, 212));
    Select = PlaceButton(new QPushButton(QStringLiteral("Select"), this), Named("bt", "Select"), 96,
                         236, 93, 21);
    Preview = PlaceButton(new QPushButton(QStringLiteral("Preview"), this),
                          Numbered("btPreview", {{1, 2}}), 63, 268, 75, 25);
    AsInstalled = PlaceCheckBox(new QCheckBox(QStringLiteral("As installed"), this),
                                Named("cbAsInstalled"), 141, 271);
    AsInstalled->setToolTip(QStringLiteral(
        "Show the logo as the machine shows it once installed: 320 x 400 pixels in 256 colours"));

    // Top, middle, bottom: three buttons without captions in a narrow strip.
    Position = Showing(S::Position,
                       Place(new TRadioGroup(QString(), {QString(), QString(), QString()}, this),
                             Named("rg"), 224, 18, 33, 209));
    PreviewPanel = Place(new TPGPanel(this), Numbered("Panel", {{2, 1}}), 270, 16, 332, 212);
    PreviewPanel->SetBevelOuter(bvLowered);
    PreviewPanel->SetBevelInner(bvLowered);
    PreviewPanel->SetBorderWidth(4);
    Image = new TPGImage(PreviewPanel);
    Image->setObjectName(QStringLiteral("Im") + Side);
    Image->SetBorderStyle(bsNone);
    Image->SetStretch(sAlways);
    Image->setGeometry(PreviewPanel->InteriorRect());

    DefaultTextLabel = PlaceLabel(new QLabel(QStringLiteral("Default Text:"), this),
                                  Numbered("Label", {{9, 1}}), 224, 244);
    DefaultText = Showing(S::Line, Place(new TEdit(this), Named("ed"), 296, 240, 313, 22));
    DefaultText->SetHideSelection(false);
    Only = Showing(
        S::Only,
        PlaceCheckBox(new QCheckBox(TPerLogo<QString>{{
                                        QStringLiteral("Use Only the first logo (Question on top "
                                                       "answer on bottom)"),
                                        QStringLiteral("Use Only the second logo (Question on top "
                                                       "answer on bottom)"),
                                    }}[Logo],
                                    this),
                      Named("cbOnly"), 224, 276));
}

const TSettingControl* TLogoPage::ControlOf(TSetting Setting) const {
    for (const TSettingShown& Shown : FSettingControls) {
        if (Shown.Setting == Setting) {
            return &Shown.Control;
        }
    }
    return nullptr;
}

void TLogoPage::ShowLogo(const TPixelGraphic& Picture) {
    Image->SetPixelGraphic(&Picture);
}
