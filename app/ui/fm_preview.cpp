#include "app/ui/fm_preview.h"

#include "app/ui/control_binding.h"
#include "pgraphic/view/image_view/pg_image.h"

#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>

TfmPreview::TfmPreview(QWidget* Owner)
    : QDialog(Owner, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      FImage(new TPGImage(this)) {
    setObjectName(QStringLiteral("fmPreview"));
    FImage->setObjectName(QStringLiteral("Image"));
    FImage->SetBorderStyle(bsNone);
    FImage->SetStretch(sAlways);
    FImage->SetActionMode(amNone);
    Bind(*FImage, [this] { ImageClick(); });
}

void TfmPreview::ShowModal(QWidget* Owner, const TPixelGraphic& Picture) {
    TfmPreview Preview(Owner);
    Preview.Image()->SetPixelGraphic(&Picture);
    Preview.exec();
}

void TfmPreview::showEvent(QShowEvent* Event) {
    QDialog::showEvent(Event);
    if (!Event->spontaneous()) {
        FormShow();
    }
}

// On top, at the screen's top-left corner, as large as the screen.
void TfmPreview::FormShow() {
    QScreen* Screen = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (Screen != nullptr) {
        setGeometry(Screen->geometry());
    }
    raise();
    activateWindow();
}

void TfmPreview::resizeEvent(QResizeEvent* Event) {
    QDialog::resizeEvent(Event);
    FImage->setGeometry(rect());
}

void TfmPreview::ImageClick() {
    close();
}
