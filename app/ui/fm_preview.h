#pragma once

#include <QDialog>

class TPGImage;
class TPixelGraphic;

// The full-screen preview of a logo: a window without border on top of everything, covering
// the whole screen with its one image view, the picture stretched to it. A click anywhere closes
// it.
class TfmPreview : public QDialog {
public:
    explicit TfmPreview(QWidget* Owner = nullptr);

    TPGImage* Image() const { return FImage; }

    // Shows a copy of Picture on the whole screen until a click; returns then.
    static void ShowModal(QWidget* Owner, const TPixelGraphic& Picture);

protected:
    void showEvent(QShowEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;

private:
    void FormShow();
    void ImageClick();

    TPGImage* FImage;
};
