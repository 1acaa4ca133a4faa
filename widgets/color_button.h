#pragma once

#include "core/events.h"
#include "core/multicast_event.h"
#include "core/object.h"
#include "widgets/color_array.h"

#include <QPointer>
#include <QPushButton>

class TColorButtonPalette;

// A push button that shows a colour beside a drop-down arrow. A click opens the palette popup;
// the colour chosen there becomes the button's Color, and OnColorChange reports every change.
class TColorButton : public QPushButton, public TObject {
public:
    explicit TColorButton(QWidget* Parent = nullptr);
    ~TColorButton() override;

    int Style() const { return FStyle; }
    void SetStyle(int Value);
    TColor Color() const { return FColor; }
    // A new colour repaints and fires OnColorChange.
    void SetColor(TColor Value);
    const QString& OtherBtnCaption() const { return FOtherBtnCaption; }
    void SetOtherBtnCaption(const QString& Value);
    TColor OtherColor() const { return FOtherColor; }
    void SetOtherColor(TColor Value);
    const TColorArrayClass& PaletteColors() const { return FPaletteColors; }
    void SetPaletteColors(const TColorArrayClass& Value);
    // The custom colours of the colour dialog; they live as long as the button.
    const TColorArrayClass& CustomColors() const { return FCustomColors; }
    void SetCustomColors(const TColorArrayClass& Value);
    // Where custom colours would be kept between runs; stored only, none are kept.
    const QString& CustomColorsKey() const { return FCustomColorsKey; }
    void SetCustomColorsKey(const QString& Value) { FCustomColorsKey = Value; }

    // The popup while it is open.
    TColorButtonPalette* Palette() const;
    bool DroppedDown() const { return FDroppedDown; }

    TNotifyEvent OnColorChange;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* Event) override;
    void changeEvent(QEvent* Event) override;

private:
    void OpenPalette();
    void PaletteClosed();

    int FStyle = 0;
    TColor FColor = 0;
    QString FOtherBtnCaption;
    TColor FOtherColor;
    TColorArrayClass FPaletteColors;
    TColorArrayClass FCustomColors;
    QString FCustomColorsKey;
    QPointer<TColorButtonPalette> FPalette;
    // The open popup's colour choice and closing.
    TEventConnection FPaletteChosen;
    TEventConnection FPaletteClosed;
    bool FDroppedDown = false;
};
