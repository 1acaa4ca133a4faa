#include "pgraphic/view/open_dialog/open_dialog_layout.h"

namespace {

// In dialog units, as the whole of the dialog's own part lays them out.
constexpr TPGRect kOwnPart{0, 0, 288, 144};
constexpr int kStandardControlsWidth = 192;
constexpr TPGRect kPreview{192, 20, 192 + 92, 20 + 85};
constexpr TPGRect kDescription{193, 110, 193 + 92, 110 + 33};

} // namespace

TPGOpenDialogLayout PGOpenDialogLayout(const TPGDialogBaseUnits& Base) {
    const TPGRect Whole = PGMapDialogRect(kOwnPart, Base);
    const int SideLeft =
        PGMapDialogRect({kStandardControlsWidth, 0, kStandardControlsWidth, 0}, Base).Left;
    TPGOpenDialogLayout Layout;
    Layout.SideWidth = Whole.Right - SideLeft;
    Layout.SideHeight = Whole.Bottom;
    Layout.Preview = PGMapDialogRect(kPreview, Base).Shifted(-SideLeft, 0);
    Layout.Description = PGMapDialogRect(kDescription, Base).Shifted(-SideLeft, 0);
    return Layout;
}

TPGPoint PGOpenDialogPosition(const TPGRect& Screen, int Width, int Height) {
    return {Screen.Left + (Screen.Width() - Width) / 2,
            Screen.Top + (Screen.Height() - Height) / 3};
}
