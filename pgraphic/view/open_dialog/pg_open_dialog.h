#pragma once

#include "core/color.h"
#include "core/multicast_event.h"
#include "pgraphic/formats/registry.h"
#include "pgraphic/image/pg_types.h"
#include "pgraphic/view/open_dialog/open_dialog.h"
#include "pgraphic/view/progress_clock.h"
#include "pgraphic/view/view_types.h"

#include <QPointer>
#include <memory>
#include <string>

class QEvent;
class QPainter;
class QRect;
class QTimer;
class TCreateOpenSaveDialogPaintPGThread;
class TPGOwnerDrawPanel;
class TPixelGraphic;

// The picture open dialog: the file open dialog with a preview of the selected picture and a
// short description of its file beside the file list. Its filter comes from the image library's
// readers. When the user rests on a file for 150 ms, the dialog reads the file's description
// and has a worker load, shrink and colour-reduce the preview (preview_pg_thread.h), with a
// progress clock meanwhile; moving on stops the worker at once.
class TPGOpenDialog : public TOpenDialog, public TPGProgressClockProperties {
    Q_OBJECT

public:
    explicit TPGOpenDialog(QObject* Owner = nullptr);
    ~TPGOpenDialog() override;

    // With UseDefaultFilter the filter is first replaced by DefaultFilter.
    bool Execute() override;

    // Always includes ofShareAware: a set without it is told off in a message and gets it.
    void SetOptions(TOpenOptions Value) override;

    // The lower-case extension of the reader whose filter entry has FilterIndex (1 is "Image
    // files", 2 the first listed reader, ...); empty without UseDefaultFilter or when none.
    virtual std::string GetFilterExtension(int FilterIndex) const;
    // The number of listed readers; 0 without UseDefaultFilter.
    virtual int ListedReaderCount() const;
    // The image library's open filter: "Image files" with every listed reader's extension, one
    // entry per listed reader, "All files".
    virtual std::string DefaultFilter() const;
    // The image library's readers.
    virtual TFileFormatReaders& FileFormatReaders() const;

    // --- Properties ----------------------------------------------------------------------------
    bool UseDefaultFilter() const { return FUseDefaultFilter; }
    void SetUseDefaultFilter(bool Value) { FUseDefaultFilter = Value; }
    // Resampling used to shrink the preview.
    TStretchMode StretchMode() const { return FStretchMode; }
    void SetStretchMode(TStretchMode Value) { FStretchMode = Value; }
    // Palettes of previews on a 256-colour display; values outside the type's range are ignored.
    TPalette8BitSys24BitGraphic Palette8BitSys24BitGraphic() const {
        return FPalettes.Palette8BitSys24BitGraphic;
    }
    void SetPalette8BitSys24BitGraphic(TPalette8BitSys24BitGraphic Value);
    TPalette8BitSys8BitGraphic Palette8BitSys8BitGraphic() const {
        return FPalettes.Palette8BitSys8BitGraphic;
    }
    void SetPalette8BitSys8BitGraphic(TPalette8BitSys8BitGraphic Value);
    // Whether the description panel shows the description.
    bool ShowInfo() const { return FShowInfo; }
    void SetShowInfo(bool Value);

    // --- The selection and its preview (driven by the dialog window) ---------------------------
    // The user moved to another item: stop the worker, clear both panels, wait for the next
    // 150 ms of rest.
    void SelectionChanged();
    // The selection has rested: describe the selected file and start its preview.
    void LoadPreview();
    // The file the selection names (the first of several); empty outside Execute.
    std::string SelectedFilePath() const;

    const TPixelGraphic* Preview() const { return FPreview.get(); }
    bool DescriptionValid() const { return FDescriptionValid; }
    const TPGImageFileInfo& Description() const { return FDescription; }
    const TCreateOpenSaveDialogPaintPGThread& PreviewThread() const { return *FThread; }
    bool DebounceActive() const;
    // The panels while the dialog window exists, else none.
    QWidget* PreviewPanel() const;
    QWidget* DescriptionPanel() const;

protected:
    void InitDialog(QFileDialog& Dialog) override;
    // Progress and previews of the worker arrive here.
    void customEvent(QEvent* Event) override;
    void ShowDialog(QFileDialog& Dialog) override;
    void DestroyDialog() override;

private:
    // The side part with the two panels, beside the file dialog's own controls.
    void AddPreviewSide(QFileDialog& Dialog);
    void OnDebounceTimer();
    void ReceivePreview(std::unique_ptr<TPixelGraphic> Image);
    void StopWorker();
    // Ends the rest, stops the worker and drops the preview and its clock.
    void FreePreview();
    void InvalidatePreviewInside();
    void InvalidateDescription();
    void DrawPreviewClock(int Step, int Percent);
    void DrawPreview(QPainter& Painter, const QRect& Client);
    void DrawClock(QPainter& Painter, const QRect& Client);
    void DrawDescription(QPainter& Painter, const QRect& Client);

    QPointer<TPGOwnerDrawPanel> FPreviewPanel;
    QPointer<TPGOwnerDrawPanel> FDescriptionPanel;
    // The two panels' drawing, done here.
    TEventConnection FPreviewDrawing;
    TEventConnection FDescriptionDrawing;
    // The part beside the standard controls that holds the two panels.
    QPointer<QWidget> FSide;
    std::unique_ptr<TPixelGraphic> FPreview;
    std::unique_ptr<TCreateOpenSaveDialogPaintPGThread> FThread;
    TStretchMode FStretchMode = smPrecise;
    bool FUseDefaultFilter = true;
    TPGDisplayPalettes FPalettes;
    std::unique_ptr<QTimer> FDebounceTimer;
    bool FDescriptionValid = false;
    TPGImageFileInfo FDescription;
    bool FShowInfo = true;
    // The item the user is on, as the dialog window reported it.
    std::string FCurrentPath;
    // The progress clock is shown from the first report of a worker until its preview arrives
    // or the selection changes.
    bool FClockShown = false;
    int FClockStep = 1;
    int FClockPercent = 0;
};
