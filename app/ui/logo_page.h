#pragma once

#include <QString>
#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;
class TColorButton;
class TEdit;
class TFontComboBox;
class TPGBevel;
class TPGImage;
class TPGPanel;
class TPixelGraphic;
class TRadioGroup;
class TSpinEdit;

// The page of one logo (1: "First Logo", 2: "Second Logo"): text settings, background settings,
// the text position, the preview panel, the default text and the single-logo box. Only the
// controls and their places; the settings window binds them. Each control carries the window's
// name for it (FirstFont, bcLastShadowColor, ...) as its object name.
class TLogoPage : public QWidget {
public:
    TLogoPage(int Logo, QWidget* Parent = nullptr);

    int Logo() const { return FLogo; }
    // Shows a copy of the composed logo in the preview.
    void ShowLogo(const TPixelGraphic& Picture);

    QLabel* TextSettingsLabel;
    TPGBevel* TextSettingsBevel;
    TFontComboBox* Font;
    QLabel* TextColorLabel;
    TColorButton* FontColor;
    TSpinEdit* Size;
    TRadioGroup* Effect;
    TColorButton* ShadowColor;
    QCheckBox* Bold;
    QCheckBox* Italic;
    QLabel* BackgroundLabel;
    TRadioGroup* Background;
    TColorButton* SingleColor;
    TColorButton* Color1;
    TColorButton* Color2;
    QPushButton* Select;
    QPushButton* Preview;
    TRadioGroup* Position;
    TPGPanel* PreviewPanel;
    // The preview inside the panel (ImFirst, ImLast): the logo stretched to its 320 x 200.
    TPGImage* Image;
    QLabel* DefaultTextLabel;
    TEdit* DefaultText;
    QCheckBox* Only;

private:
    int FLogo;
};
