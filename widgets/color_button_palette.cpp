#include "widgets/color_button_palette.h"

#include "platform/display.h"
#include "platform/qt/qt_color.h"
#include "widgets/color_button_painting.h"
#include "widgets/color_dialog.h"
#include "widgets/custom_color_strings.h"
#include "widgets/default_palette.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <qdrawutil.h>

TColorButtonPalette::TColorButtonPalette(QWidget* Owner)
    : QWidget(Owner, Qt::Tool | Qt::FramelessWindowHint),
      FPaletteColors(DefaultPaletteColors(ScreenColorDepth())), FCustomColors(WhiteCustomColors()),
      FOtherColor(clBtnFace), FOtherButton(new QPushButton(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kPaletteWindowSize);
    setMouseTracking(true);
    FOtherButton->setFocusPolicy(Qt::NoFocus);
    FOtherButton->setGeometry(kOtherButtonRect.translated(kPaletteFrame, kPaletteFrame));
    QObject::connect(FOtherButton, &QPushButton::clicked, this, [this] { ChooseOtherColor(); });
    // Losing the application's activation closes the popup as losing its own does.
    FApplicationState = QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
                                         [this](Qt::ApplicationState S) {
                                             if (S != Qt::ApplicationActive) {
                                                 Deactivated();
                                             }
                                         });
}

TColorButtonPalette::~TColorButtonPalette() {
    QObject::disconnect(FApplicationState);
}

void TColorButtonPalette::SetOtherBtnCaption(const QString& Caption) {
    FOtherButton->setText(Caption);
}

void TColorButtonPalette::SetOtherColor(TColor Color) {
    FOtherColor = Color;
    update();
}

void TColorButtonPalette::SetPaletteColors(const TColorArrayClass& Colors) {
    FPaletteColors.Assign(Colors);
    update();
}

void TColorButtonPalette::SetCustomColors(const TColorArrayClass& Colors) {
    FCustomColors.Assign(Colors);
}

void TColorButtonPalette::SelectColor(TColor Color) {
    FHighlighted = FindPaletteCell(FPaletteColors, Color);
    if (FHighlighted == kNoCell) {
        FOtherColor = Color;
    }
    update();
}

QPoint TColorButtonPalette::ToClient(QPoint WidgetPoint) const {
    return WidgetPoint - QPoint(kPaletteFrame, kPaletteFrame);
}

TColor TColorButtonPalette::CellColor(TPaletteCell Cell) const {
    if (Cell == kOtherCell) {
        return FOtherColor;
    }
    // A palette of other dimensions shows button face where it has no cell.
    if (Cell.Column > FPaletteColors.Columns() || Cell.Row > FPaletteColors.Rows()) {
        return clBtnFace;
    }
    return FPaletteColors.Colors(Cell.Column, Cell.Row);
}

void TColorButtonPalette::HotTrack(QPoint ClientPoint) {
    const TPaletteCell Cell = CellAt(ClientPoint, kPaletteClientSize);
    if (Cell != FHighlighted && IsValidCell(Cell)) {
        FHighlighted = Cell;
        update();
    }
}

void TColorButtonPalette::paintEvent(QPaintEvent*) {
    // The hot-tracking step also runs with every painting, so a popup opening under the mouse
    // highlights the swatch there.
    const TPaletteCell Under = CellAt(ToClient(mapFromGlobal(QCursor::pos())), kPaletteClientSize);
    if (IsValidCell(Under)) {
        FHighlighted = Under;
    }

    QPainter Painter(this);
    qDrawWinPanel(&Painter, rect(), palette(), false);
    Painter.fillRect(rect().adjusted(2, 2, -2, -2), palette().color(QPalette::Button));
    Painter.translate(kPaletteFrame, kPaletteFrame);
    const QPalette& Colors = palette();
    for (int C = 1; C <= kPaletteColumns; ++C) {
        for (int R = 1; R <= kPaletteRows; ++R) {
            const TPaletteCell Cell{C, R};
            PaintSwatch(Painter, SwatchOrigin(Cell, kPaletteClientSize.width()),
                        PaletteQColor(CellColor(Cell), Colors), Cell == FHighlighted, Colors);
        }
    }
    PaintPaletteSeparator(Painter, kPaletteClientSize.width(), Colors);
    PaintSwatch(Painter, SwatchOrigin(kOtherCell, kPaletteClientSize.width()),
                PaletteQColor(FOtherColor, Colors), FHighlighted == kOtherCell, Colors);
}

void TColorButtonPalette::mouseMoveEvent(QMouseEvent* Event) {
    HotTrack(ToClient(Event->position().toPoint()));
}

void TColorButtonPalette::mouseReleaseEvent(QMouseEvent* Event) {
    if (Event->button() != Qt::LeftButton) {
        return;
    }
    const TPaletteCell Cell = CellAt(ToClient(Event->position().toPoint()), kPaletteClientSize);
    const QPointer<TColorButtonPalette> Self(this);
    if (IsValidCell(Cell)) {
        OnColorChosen(CellColor(Cell));
    }
    if (Self) {
        close();
    }
}

void TColorButtonPalette::keyPressEvent(QKeyEvent* Event) {
    if (Event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(Event);
}

bool TColorButtonPalette::event(QEvent* Event) {
    if (Event->type() == QEvent::WindowDeactivate) {
        Deactivated();
    }
    return QWidget::event(Event);
}

void TColorButtonPalette::Deactivated() {
    if (!FDialogOpen && isVisible()) {
        close();
    }
}

void TColorButtonPalette::closeEvent(QCloseEvent* Event) {
    if (FDialogOpen) {
        Event->ignore();
        return;
    }
    OnClosed();
    Event->accept();
}

void TColorButtonPalette::ChooseOtherColor() {
    const QPointer<TColorButtonPalette> Self(this);
    TColor Color = FOtherColor;
    std::vector<std::string> Custom = CustomColorStrings(FCustomColors);
    FDialogOpen = true;
    bool Accepted = false;
    try {
        Accepted = ExecuteColorDialog(this, Color, Custom);
    } catch (...) {
        if (Self) {
            FDialogOpen = false;
        }
        throw;
    }
    if (!Self) {
        return; // the owner went away while the dialog ran
    }
    FDialogOpen = false;
    if (!Accepted) {
        activateWindow(); // cancelled: the popup stays open and takes the activation back
        return;
    }
    FOtherColor = Color;
    ReadCustomColorStrings(Custom, FCustomColors);
    OnColorChosen(FOtherColor);
    if (Self) {
        close();
    }
}
