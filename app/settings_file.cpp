#include "app/settings_file.h"

#include "app/settings_model.h"
#include "platform/ini_file.h"

namespace {

constexpr const char* kGeneral = "General";

const char* SectionOf(int Logo) {
    return Logo == 1 ? "First Logo" : "Last Logo";
}

// The keys of a logo's section read in the same order in both sections, up to where they part.
void LoadLogoHead(TSettingsModel& S, const TIniFile& F, int Logo, const TLogoValues& D) {
    const char* Section = SectionOf(Logo);
    S.SetFontName(Logo, F.ReadString(Section, "Font", D.FontName));
    S.SetSize(Logo, F.ReadInteger(Section, "Size", D.Size));
    S.SetPosition(Logo, F.ReadInteger(Section, "Position", D.Position));
    S.SetTextColor(Logo, F.ReadInteger(Section, "TextColor", D.TextColor));
}

// Effect, Bold and Italic, read in this order in both sections.
void LoadLogoStyles(TSettingsModel& S, const TIniFile& F, int Logo, const TLogoValues& D) {
    const char* Section = SectionOf(Logo);
    S.SetEffect(Logo, F.ReadInteger(Section, "Effect", D.Effect));
    S.SetBold(Logo, F.ReadBool(Section, "Bold", D.Bold));
    S.SetItalic(Logo, F.ReadBool(Section, "Italic", D.Italic));
}

void LoadShadowColor(TSettingsModel& S, const TIniFile& F, int Logo, const TLogoValues& D) {
    S.SetShadowColor(Logo, F.ReadInteger(SectionOf(Logo), "ShadowColor", D.ShadowColor));
}

void LoadLogoTail(TSettingsModel& S, const TIniFile& F, int Logo, const TLogoValues& D) {
    const char* Section = SectionOf(Logo);
    S.SetColor1(Logo, F.ReadInteger(Section, "Color1", D.Color1));
    S.SetColor2(Logo, F.ReadInteger(Section, "Color2", D.Color2));
    S.SetColor3(Logo, F.ReadInteger(Section, "Color3", D.Color3));
    S.SetBitmap(Logo, F.ReadString(Section, "Bitmap", D.Bitmap));
    S.SetBackground(Logo, F.ReadInteger(Section, "Background", D.Background));
    S.SetLine(Logo, F.ReadString(Section, "Line", D.Line));
}

void SaveLogo(const TSettingsModel& S, TIniFile& F, int Logo) {
    const char* Section = SectionOf(Logo);
    const TLogoValues& V = S.Logo(Logo);
    F.WriteString(Section, "Font", V.Font);
    F.WriteInteger(Section, "Size", V.Size);
    F.WriteInteger(Section, "Position", V.Position);
    F.WriteInteger(Section, "TextColor", V.TextColor);
    F.WriteInteger(Section, "ShadowColor", V.ShadowColor);
    F.WriteInteger(Section, "Effect", V.Effect);
    F.WriteBool(Section, "Bold", V.Bold);
    F.WriteBool(Section, "Italic", V.Italic);
    F.WriteInteger(Section, "Color1", V.Color1);
    F.WriteInteger(Section, "Color2", V.Color2);
    F.WriteInteger(Section, "Color3", V.Color3);
    F.WriteInteger(Section, "Background", V.Background);
    F.WriteString(Section, "Bitmap", V.Bitmap);
    F.WriteString(Section, "Line", V.Line);
}

} // namespace

void LoadSettings(TSettingsModel& S, const TIniFile& F) {
    S.SetTextFile(F.ReadString(kGeneral, "TextFile", kDefaultTextFile));
    S.SetOnlyOne(F.ReadInteger(kGeneral, "Only One", 0));

    const TLogoValues First = DefaultLogoValues(1);
    LoadLogoHead(S, F, 1, First);
    LoadShadowColor(S, F, 1, First);
    LoadLogoStyles(S, F, 1, First);
    LoadLogoTail(S, F, 1, First);

    // The second section reads the shadow colour after the styles.
    const TLogoValues Last = DefaultLogoValues(2);
    LoadLogoHead(S, F, 2, Last);
    LoadLogoStyles(S, F, 2, Last);
    LoadShadowColor(S, F, 2, Last);
    LoadLogoTail(S, F, 2, Last);
}

void SaveSettings(TSettingsModel& S, TIniFile& F) {
    F.WriteString(kGeneral, "TextFile", S.TextFile());
    int OnlyOne = 0;
    if (S.OnlyFirst()) {
        OnlyOne = 1;
    }
    if (S.OnlyLast()) {
        OnlyOne = 2;
    }
    S.SetOnlyOne(OnlyOne);
    F.WriteInteger(kGeneral, "Only One", OnlyOne);
    SaveLogo(S, F, 1);
    SaveLogo(S, F, 2);
}
