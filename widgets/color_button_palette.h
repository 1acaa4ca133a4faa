#pragma once

#include "core/multicast_event.h"
#include "widgets/color_array.h"
#include "widgets/palette_geometry.h"

#include <QMetaObject>
#include <QWidget>

class QPushButton;

// The palette popup of a colour button: a borderless window of twenty swatches, the other-colour
// swatch and the "Other" button that opens the colour dialog. It follows the mouse with its
// highlight, reports the colour clicked and closes on a click, on Escape and when it or the
// application loses the activation, but never while the colour dialog is open. It deletes itself
// when it closes.
class TColorButtonPalette : public QWidget {
public:
    explicit TColorButtonPalette(QWidget* Owner);
    ~TColorButtonPalette() override;

    void SetOtherBtnCaption(const QString& Caption);
    TColor OtherColor() const { return FOtherColor; }
    void SetOtherColor(TColor Color);
    const TColorArrayClass& PaletteColors() const { return FPaletteColors; }
    void SetPaletteColors(const TColorArrayClass& Colors);
    const TColorArrayClass& CustomColors() const { return FCustomColors; }
    void SetCustomColors(const TColorArrayClass& Colors);

    // Highlights the swatch of Color; when the palette holds no such colour, it becomes the
    // other colour instead.
    void SelectColor(TColor Color);
    TPaletteCell Highlighted() const { return FHighlighted; }
    bool DialogOpen() const { return FDialogOpen; }
    QPushButton* OtherButton() const { return FOtherButton; }

    // The colour a click or the colour dialog chose.
    TMulticastEvent<TColor> OnColorChosen;
    // Fires as the popup closes, before it is deleted.
    TMulticastEvent<> OnClosed;

protected:
    bool event(QEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void closeEvent(QCloseEvent* Event) override;

private:
    QPoint ToClient(QPoint WidgetPoint) const;
    TColor CellColor(TPaletteCell Cell) const;
    void HotTrack(QPoint ClientPoint);
    void ChooseOtherColor();
    void Deactivated();

    TColorArrayClass FPaletteColors;
    TColorArrayClass FCustomColors;
    TColor FOtherColor;
    TPaletteCell FHighlighted;
    bool FDialogOpen = false;
    QPushButton* FOtherButton;
    QMetaObject::Connection FApplicationState;
};
