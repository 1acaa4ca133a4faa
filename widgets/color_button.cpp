#include "widgets/color_button.h"

#include "core/set_if_changed.h"
#include "platform/display.h"
#include "platform/qt/qt_color.h"
#include "widgets/color_button_layout.h"
#include "widgets/color_button_painting.h"
#include "widgets/color_button_palette.h"
#include "widgets/custom_color_strings.h"
#include "widgets/default_palette.h"
#include "widgets/palette_geometry.h"

#include <QEvent>
#include <QPainter>
#include <QScreen>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>

namespace {

constexpr QSize kDefaultSize{45, 22};

} // namespace

TColorButton::TColorButton(QWidget* Parent)
    : QPushButton(Parent), FOtherBtnCaption(QStringLiteral("&Other")), FOtherColor(clBtnFace),
      FPaletteColors(DefaultPaletteColors(ScreenColorDepth())), FCustomColors(WhiteCustomColors()) {
    resize(kDefaultSize);
    QObject::connect(this, &QPushButton::clicked, this, [this] { OpenPalette(); });
}

TColorButton::~TColorButton() {
    // The popup goes with its owner, without reporting back to a button that is going away.
    FPaletteChosen.Disconnect();
    FPaletteClosed.Disconnect();
    delete FPalette.data();
}

TColorButtonPalette* TColorButton::Palette() const {
    return FPalette;
}

QSize TColorButton::sizeHint() const {
    return kDefaultSize;
}

void TColorButton::SetStyle(int Value) {
    SetIfChanged(FStyle, Value, [this] { update(); });
}

void TColorButton::SetColor(TColor Value) {
    SetIfChanged(FColor, Value, [this] {
        update();
        if (OnColorChange) {
            OnColorChange(this);
        }
    });
}

void TColorButton::SetOtherBtnCaption(const QString& Value) {
    FOtherBtnCaption = Value;
}

void TColorButton::SetOtherColor(TColor Value) {
    FOtherColor = Value;
}

void TColorButton::SetPaletteColors(const TColorArrayClass& Value) {
    FPaletteColors.Assign(Value);
}

void TColorButton::SetCustomColors(const TColorArrayClass& Value) {
    FCustomColors.Assign(Value);
}

void TColorButton::OpenPalette() {
    if (FPalette) {
        FPalette->close();
        return;
    }
    auto* Palette = new TColorButtonPalette(this);
    const QRect OnScreen(mapToGlobal(QPoint(0, 0)), size());
    Palette->move(PalettePosition(OnScreen, screen()->geometry()));
    Palette->SetOtherBtnCaption(FOtherBtnCaption);
    Palette->SetOtherColor(FOtherColor);
    Palette->SetPaletteColors(FPaletteColors);
    Palette->SetCustomColors(FCustomColors);
    Palette->SelectColor(FColor);
    FPaletteChosen = Palette->OnColorChosen.Connect([this](TColor Chosen) { SetColor(Chosen); });
    FPaletteClosed = Palette->OnClosed.Connect([this] { PaletteClosed(); });
    FPalette = Palette;
    FDroppedDown = true;
    update();
    Palette->show();
    Palette->activateWindow();
}

void TColorButton::PaletteClosed() {
    if (FPalette) {
        FCustomColors.Assign(FPalette->CustomColors());
    }
    FDroppedDown = false;
    FPalette = nullptr;
    update();
}

void TColorButton::changeEvent(QEvent* Event) {
    if (Event->type() == QEvent::FontChange || Event->type() == QEvent::EnabledChange) {
        update();
    }
    QPushButton::changeEvent(Event);
}

void TColorButton::paintEvent(QPaintEvent*) {
    QPainter Painter(this);
    const QPalette& Colors = palette();
    const bool Pressed = isDown() || FDroppedDown;
    const QRect Client = rect();
    if (Pressed) {
        DrawOutline(Painter, Client.topLeft(), Client.bottomRight(), PaletteQColor(clWindowFrame));
        const QRect Inner = Client.adjusted(1, 1, -1, -1);
        Painter.fillRect(Inner, Colors.color(QPalette::Button));
        DrawOutline(Painter, Inner.topLeft(), Inner.bottomRight(), Colors.color(QPalette::Dark));
    } else {
        QStyleOptionButton Option;
        initStyleOption(&Option);
        Option.text.clear();
        Option.state &= ~QStyle::State_HasFocus;
        style()->drawControl(QStyle::CE_PushButtonBevel, &Option, &Painter, this);
    }

    const TColorButtonLayout Layout = ColorButtonLayout(Client.size(), Pressed, kDropDownArrowSize);
    if (hasFocus()) {
        QStyleOptionFocusRect Focus;
        Focus.initFrom(this);
        Focus.rect = Layout.Content;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &Focus, &Painter, this);
    }
    const bool Enabled = isEnabled();
    Painter.fillRect(Layout.Swatch, PaletteQColor(FColor, Colors));
    DrawOutline(Painter, Layout.Swatch.topLeft(), Layout.Swatch.bottomRight(),
                Enabled ? PaletteQColor(clWindowFrame)
                        : Colors.color(QPalette::Disabled, QPalette::Text));
    Painter.fillRect(QRect(QPoint(Layout.SeparatorX, Layout.Swatch.top()),
                           QPoint(Layout.SeparatorX, Layout.Swatch.bottom())),
                     Colors.color(QPalette::Dark));
    Painter.fillRect(QRect(QPoint(Layout.SeparatorX + 1, Layout.Swatch.top()),
                           QPoint(Layout.SeparatorX + 1, Layout.Swatch.bottom())),
                     Colors.color(QPalette::Light));
    DrawDropDownArrow(
        Painter, Layout.ArrowTopLeft,
        Colors.color(Enabled ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
}
