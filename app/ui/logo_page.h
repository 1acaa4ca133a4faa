#pragma once

#include "app/logo/logo_index.h"
#include "app/settings/setting_table.h"
#include "app/ui/control_binding.h"

#include <QString>
#include <QWidget>
#include <vector>

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

// The page of one logo ("First Logo", "Second Logo"): text settings, background settings, the
// text position, the preview panel with the choice to see it as installed, the default text and
// the single-logo box. Only the controls,
// their places and which setting of the logo each shows; the settings window binds them. Each
// control carries the window's name for it (FirstFont, bcLastShadowColor, ...) as its object
// name.
class TLogoPage : public QWidget {
public:
    // A control of the page and the setting of the page's logo that it shows.
    struct TSettingShown {
        TSetting Setting;
        TSettingControl Control;
    };

    explicit TLogoPage(TLogo Logo, QWidget* Parent = nullptr);

    TLogo Logo() const { return FLogo; }
    // The controls that show the logo's settings, in the order of the page.
    const std::vector<TSettingShown>& SettingControls() const { return FSettingControls; }
    // The control that shows Setting; nullptr when none does.
    const TSettingControl* ControlOf(TSetting Setting) const;
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
    TColorButton* GradientTop;    // bcFirstColor1, bcLastColor1
    TColorButton* GradientBottom; // bcFirstColor2, bcLastColor2
    QPushButton* Select;
    QPushButton* Preview;
    // Beside "Preview": the preview and the full-screen preview show the logo as installed (the
    // general setting PreviewAsInstalled, shown on both pages).
    QCheckBox* AsInstalled;
    TRadioGroup* Position;
    TPGPanel* PreviewPanel;
    // The preview inside the panel (ImFirst, ImLast): the logo stretched to its 320 x 200.
    TPGImage* Image;
    QLabel* DefaultTextLabel;
    TEdit* DefaultText;
    QCheckBox* Only;

private:
    // Control, noted as the one that shows Setting.
    template <typename TControl>
    TControl* Showing(TSetting Setting, TControl* Control) {
        FSettingControls.push_back({Setting, Control});
        return Control;
    }

    TLogo FLogo;
    std::vector<TSettingShown> FSettingControls;
};
