#pragma once

#include "core/color.h"
#include "core/events.h"
#include "core/multicast_event.h"
#include "core/object.h"
#include "core/set_if_changed.h"
#include "pgraphic/image/image_options.h"
#include "pgraphic/image/pg_types.h"
#include "pgraphic/view/image_view/display_copy.h"
#include "pgraphic/view/image_view/image_view_events.h"
#include "pgraphic/view/image_view/pic_box.h"
#include "pgraphic/view/image_view/pic_box_layout.h"
#include "pgraphic/view/image_view/selection_tracker.h"
#include "pgraphic/view/image_view/view_picture.h"
#include "pgraphic/view/progress_clock.h"
#include "pgraphic/view/view_rect.h"
#include "pgraphic/view/view_types.h"

#include <QAbstractScrollArea>
#include <QCursor>
#include <QRegion>
#include <memory>
#include <string>

class QPainter;
class TPixelGraphic;

// The image view control: shows its own copy of a picture in a scrolling area, placed by a stretch
// rule, optionally centred, tiled and mirrored; sizes itself to the picture on request; on
// displays of 8 bits or fewer (and when it resamples the picture itself) shows a display copy
// made on a worker thread, with progress clocks meanwhile; keeps a selection rectangle that the
// mouse can draw, move and resize; loads and saves by file name.
//
// The picture box (TPicBox) is a child of the viewport whose rectangle is the display rectangle;
// the view paints the picture (and fills the margins) on its viewport beneath it. Children the
// user adds go onto the viewport as well.
//
// The control is a façade over parts that own their state: the picture box's layout with the
// frame and the scroll bars (TPGPicBoxLayout), the selection and the mouse (TPGSelectionTracker)
// and the display copy with its worker (TPGDisplayCopy), and its own picture (TPGViewPicture).
// Its properties forward to them; each part gets at construction only what it works on, such as
// the layout, the display copy or the block of the events the view publishes (TPGImageEvents).
class TPGImage : public QAbstractScrollArea,
                 public TObject,
                 public TPGProgressClockProperties,
                 public TPGImageEvents {
    Q_OBJECT

public:
    explicit TPGImage(QWidget* Parent = nullptr);
    ~TPGImage() override;

    // --- The picture ---------------------------------------------------------------------------
    // The view's own picture (none when empty).
    const TPixelGraphic* PixelGraphic() const { return FPicture.Get(); }
    // The same, to be changed: first stops the worker, which may be reading it. A change made
    // through it announces itself (as every change of a picture does, or with NotifyChange),
    // which brings the view up to date. Change it at once; a later paint may start the worker
    // again.
    TPixelGraphic* EditablePixelGraphic();
    // Shows a copy of Value (none empties the view); the caller keeps its own.
    void SetPixelGraphic(const TPixelGraphic* Value) { FPicture.Assign(Value); }
    void LoadFromFile(const std::string& FileName) { LoadFromFileExt(FileName, 0); }
    void LoadFromFileExt(const std::string& FileName, int Index) {
        FPicture.Load(FileName, Index, FShowHourGlass);
    }
    virtual void SaveToFile(const std::string& FileName) { FPicture.Save(FileName); }
    // The file last loaded or saved successfully; empty after a failure. Setting it loads it.
    const std::string& FileName() const { return FPicture.FileName(); }
    void SetFileName(const std::string& Value) { LoadFromFile(Value); }

    // Brings everything up to date with the picture: size fields, auto size, layout, display copy.
    void PixelGraphicChanged();
    // Places the picture box and the scroll bars; with Force (or RearrangeAlways) also when only
    // position or scrolling differ.
    void ArrangePicBox(bool Force);
    // Moves and sizes the control, then arranges.
    void SetBounds(int Left, int Top, int Width, int Height);
    // Repaints the client area and every transparent child.
    void Invalidate();
    // The display's depth may have changed: the display copy is made anew.
    void DisplayChanged();

    // --- Display copy ----------------------------------------------------------------------------
    // Whether the display copy is shown instead of the picture; starts making it when needed.
    bool CheckPaintPixelGraphic();
    void DiscardPaintPixelGraphic() { FDisplay.Discard(); }
    void ReceivePaintPixelGraphic(std::unique_ptr<TPixelGraphic> Image);
    const TPixelGraphic* PaintPixelGraphic() const { return FDisplay.Copy(); }
    int ProgressStep() const { return FDisplay.ProgressStep(); }
    int ProgressPercent() const { return FDisplay.ProgressPercent(); }

    // --- Layout and state ------------------------------------------------------------------------
    TPicBox* PicBox() const { return FPicBox; }
    // The client area: the control less border and visible scroll bars.
    int ClientWidth() const { return FLayout.ClientWidth(); }
    int ClientHeight() const { return FLayout.ClientHeight(); }
    // 1.0 at natural size, -1 for a non-uniform scaling, else the uniform factor.
    long double Scale() const { return FLayout.Scale(); }
    // The painter of the paint in progress (for OnPaint), else none.
    QPainter* Canvas() const { return FCanvas; }

    // --- Properties ----------------------------------------------------------------------------
    TActionMode ActionMode() const { return FTracker.ActionMode(); }
    void SetActionMode(TActionMode Value);
    bool Allow24BitStretch() const { return Display().Allow24BitStretch; }
    void SetAllow24BitStretch(bool Value) { SetAndRefresh(Display().Allow24BitStretch, Value); }
    bool AutoScroll() const { return Placement().AutoScroll; }
    void SetAutoScroll(bool Value) { SetAndArrange(Placement().AutoScroll, Value); }
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    int AutoSizeMaxHeight() const { return FAutoSizeLimits.MaxHeight; }
    void SetAutoSizeMaxHeight(int Value) { SetAutoSizeLimit(FAutoSizeLimits.MaxHeight, Value); }
    int AutoSizeMinHeight() const { return FAutoSizeLimits.MinHeight; }
    void SetAutoSizeMinHeight(int Value) { SetAutoSizeLimit(FAutoSizeLimits.MinHeight, Value); }
    int AutoSizeMaxWidth() const { return FAutoSizeLimits.MaxWidth; }
    void SetAutoSizeMaxWidth(int Value) { SetAutoSizeLimit(FAutoSizeLimits.MaxWidth, Value); }
    int AutoSizeMinWidth() const { return FAutoSizeLimits.MinWidth; }
    void SetAutoSizeMinWidth(int Value) { SetAutoSizeLimit(FAutoSizeLimits.MinWidth, Value); }
    TRGB BackGroundColor() const { return FPicture.BackGroundColor(); }
    void SetBackGroundColor(TRGB Value) { FPicture.BackGroundColor() = Value & 0xFFFFFF; }
    TBorderStyle BorderStyle() const { return Placement().BorderStyle; }
    void SetBorderStyle(TBorderStyle Value) { SetAndReframe(Placement().BorderStyle, Value); }
    bool Center() const { return Placement().Center; }
    void SetCenter(bool Value) { SetAndArrange(Placement().Center, Value); }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool Ctl3D() const { return Placement().Ctl3D; }
    void SetCtl3D(bool Value) { SetAndReframe(Placement().Ctl3D, Value); }
    bool Dither() const { return Conversion().Dither; }
    void SetDither(bool Value) { SetAndRefresh(Conversion().Dither, Value); }
    std::uint8_t DitherErrorLimit() const { return Conversion().DitherErrorLimit; }
    void SetDitherErrorLimit(std::uint8_t V) { SetDitherLimit(Conversion().DitherErrorLimit, V); }
    bool DitherErrorLimitAuto() const { return Conversion().DitherErrorLimitAuto; }
    void SetDitherErrorLimitAuto(bool V) { SetDitherLimit(Conversion().DitherErrorLimitAuto, V); }
    bool DitherErrorLimitSoft() const { return Conversion().DitherErrorLimitSoft; }
    void SetDitherErrorLimitSoft(bool V) { SetDitherLimit(Conversion().DitherErrorLimitSoft, V); }
    bool FlipHorizontal() const { return FFlipHorizontal; }
    void SetFlipHorizontal(bool Value) { SetAndInvalidate(FFlipHorizontal, Value); }
    bool FlipVertical() const { return FFlipVertical; }
    void SetFlipVertical(bool Value) { SetAndInvalidate(FFlipVertical, Value); }
    bool KeepOldPaintPixelGraphic() const { return Display().KeepOldPaintPixelGraphic; }
    void SetKeepOldPaintPixelGraphic(bool Value) { Display().KeepOldPaintPixelGraphic = Value; }
    // Values outside the type's range are ignored.
    TPalette8BitSys24BitGraphic Palette8BitSys24BitGraphic() const {
        return Display().Palettes.Palette8BitSys24BitGraphic;
    }
    void SetPalette8BitSys24BitGraphic(TPalette8BitSys24BitGraphic Value);
    TPalette8BitSys8BitGraphic Palette8BitSys8BitGraphic() const {
        return Display().Palettes.Palette8BitSys8BitGraphic;
    }
    void SetPalette8BitSys8BitGraphic(TPalette8BitSys8BitGraphic Value);
    TColor PicBoxFrameColor() const { return FPicBoxFrameColor; }
    void SetPicBoxFrameColor(TColor Value) { FPicBoxFrameColor = Value; }
    bool Progress5Clocks() const { return FProgress5Clocks; }
    void SetProgress5Clocks(bool Value) { FProgress5Clocks = Value; }
    bool RGBWeighting() const { return Conversion().RGBWeighting; }
    void SetRGBWeighting(bool Value) { SetAndRefresh(Conversion().RGBWeighting, Value); }
    bool RearrangeAlways() const { return Placement().RearrangeAlways; }
    void SetRearrangeAlways(bool Value) { Placement().RearrangeAlways = Value; }
    bool ReduceOnLoad() const { return Display().ReduceOnLoad; }
    void SetReduceOnLoad(bool Value) { Display().ReduceOnLoad = Value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value) { FShowHint = Value; }
    bool ShowHourGlass() const { return FShowHourGlass; }
    void SetShowHourGlass(bool Value) { FShowHourGlass = Value; }
    TStretch Stretch() const { return Placement().Stretch; }
    void SetStretch(TStretch Value) { SetAndArrange(Placement().Stretch, Value); }
    TStretchMode StretchMode() const { return Conversion().StretchMode; }
    void SetStretchMode(TStretchMode Value) { SetAndRefresh(Conversion().StretchMode, Value); }
    TTiling Tiling() const { return FTiling; }
    void SetTiling(TTiling Value) { SetAndInvalidate(FTiling, Value); }
    bool UseThread() const { return Display().UseThread; }
    void SetUseThread(bool Value);
    TPGWarningAction ReadWarningAction() const { return FPicture.Warnings().ReadWarningAction; }
    void SetReadWarningAction(TPGWarningAction Value) {
        FPicture.Warnings().ReadWarningAction = Value;
    }
    TPGWarningAction SaveColorResWarningAction() const {
        return FPicture.Warnings().SaveColorResWarningAction;
    }
    void SetSaveColorResWarningAction(TPGWarningAction Value) {
        FPicture.Warnings().SaveColorResWarningAction = Value;
    }
    long double ZoomFactor() const { return Placement().ZoomFactor; }
    void SetZoomFactor(long double Value) { SetAndArrange(Placement().ZoomFactor, Value); }

    // --- Selection -------------------------------------------------------------------------------
    bool Selection() const { return FTracker.Selection(); }
    void SetSelection(bool Value) { FTracker.SetSelection(Value); }
    TColor SelectionColor1() const { return FTracker.Color1(); }
    void SetSelectionColor1(TColor Value) { FTracker.SetColor1(Value); }
    TColor SelectionColor2() const { return FTracker.Color2(); }
    void SetSelectionColor2(TColor Value) { FTracker.SetColor2(Value); }
    int SelectionLeft() const { return FTracker.Bounds().Left; }
    int SelectionTop() const { return FTracker.Bounds().Top; }
    int SelectionWidth() const { return FTracker.Bounds().Width; }
    int SelectionHeight() const { return FTracker.Bounds().Height; }
    void SetSelectionLeft(int Value) {
        SetSelectionBounds(Value, SelectionTop(), SelectionWidth(), SelectionHeight());
    }
    void SetSelectionTop(int Value) {
        SetSelectionBounds(SelectionLeft(), Value, SelectionWidth(), SelectionHeight());
    }
    void SetSelectionWidth(int Value) {
        SetSelectionBounds(SelectionLeft(), SelectionTop(), Value, SelectionHeight());
    }
    void SetSelectionHeight(int Value) {
        SetSelectionBounds(SelectionLeft(), SelectionTop(), SelectionWidth(), Value);
    }
    // Repaints only the strips around the old and the new frame.
    void SetSelectionBounds(int Left, int Top, int Width, int Height) {
        FTracker.SetBounds({Left, Top, Width, Height});
    }
    // The selection in picture-box pixels.
    TPGRect SelectionRectOnBox() const { return FTracker.RectOnBox(); }
    TDragAction DragAction() const { return FTracker.DragAction(); }

    // --- The picture box's properties and events ------------------------------------------------
    TColor PicBoxColor() const { return FPicBox->Color(); }
    void SetPicBoxColor(TColor Value) { FPicBox->SetColor(Value); }
    bool PicBoxParentColor() const { return FPicBox->ParentColor(); }
    void SetPicBoxParentColor(bool Value);
    const std::optional<QCursor>& PicBoxCursor() const { return FPicBox->Cursor(); }
    void SetPicBoxCursor(std::optional<QCursor> Value) { FPicBox->SetCursor(std::move(Value)); }
    const QString& PicBoxHint() const { return FPicBox->Hint(); }
    void SetPicBoxHint(const QString& Value) { FPicBox->SetHint(Value); }
    bool PicBoxShowHint() const { return FPicBox->ShowHint(); }
    void SetPicBoxShowHint(bool Value) { FPicBox->SetShowHint(Value); }
    bool PicBoxParentShowHint() const { return FPicBox->ParentShowHint(); }
    void SetPicBoxParentShowHint(bool Value) { FPicBox->SetParentShowHint(Value); }
    QMenu* PicBoxPopupMenu() const { return FPicBox->PopupMenu(); }
    void SetPicBoxPopupMenu(QMenu* Value) { FPicBox->SetPopupMenu(Value); }
    std::intptr_t PicBoxTag() const { return FPicBox->Tag(); }
    void SetPicBoxTag(std::intptr_t Value) { FPicBox->SetTag(Value); }
    void SetPicBoxOnClick(TNotifyEvent Handler) { FPicBox->OnClick = std::move(Handler); }
    void SetPicBoxOnDblClick(TNotifyEvent Handler) { FPicBox->OnDblClick = std::move(Handler); }
    void SetPicBoxOnMouseDown(TMouseEvent Handler) { FPicBox->OnMouseDown = std::move(Handler); }
    void SetPicBoxOnMouseMove(TMouseMoveEvent Handler) {
        FPicBox->OnMouseMove = std::move(Handler);
    }
    void SetPicBoxOnMouseUp(TMouseEvent Handler) { FPicBox->OnMouseUp = std::move(Handler); }
    void SetPicBoxOnPaint(TNotifyEvent Handler) { FPicBox->OnPaint = std::move(Handler); }

protected:
    // Paints the client area on Canvas: margins, tiles, or the empty box with its clocks.
    virtual void Paint();

    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void scrollContentsBy(int Dx, int Dy) override;
    void customEvent(QEvent* Event) override;
    // The margins' own mouse events.
    void mousePressEvent(QMouseEvent* Event) override { FTracker.MarginMouseDown(*Event); }
    void mouseMoveEvent(QMouseEvent* Event) override { FTracker.MarginMouseMove(*Event); }
    void mouseReleaseEvent(QMouseEvent* Event) override { FTracker.MarginMouseUp(*Event); }
    // A double click is also a press.
    void mouseDoubleClickEvent(QMouseEvent* Event) override {
        if (FTracker.MarginDoubleClick(*Event)) {
            mousePressEvent(Event);
        }
    }

private:
    TPGPicBoxPlacement& Placement() { return FLayout.Placement(); }
    const TPGPicBoxPlacement& Placement() const { return FLayout.Placement(); }
    TPGDisplayCopyOptions& Display() { return FDisplay.Options(); }
    const TPGDisplayCopyOptions& Display() const { return FDisplay.Options(); }
    TPGConversionOptions& Conversion() { return Display().Conversion; }
    const TPGConversionOptions& Conversion() const { return Display().Conversion; }

    // The setters' reactions to a real change: repaint; arrange the picture box (after a new
    // frame); make the display copy anew (for a dither limit only while dithering); lay out
    // anew when AutoSize is on.
    template <typename T>
    void SetAndInvalidate(T& Field, T Value) {
        SetIfChanged(Field, Value, [this] { Invalidate(); });
    }
    template <typename T>
    void SetAndArrange(T& Field, T Value) {
        SetIfChanged(Field, Value, [this] { ArrangePicBox(true); });
    }
    template <typename T>
    void SetAndReframe(T& Field, T Value) {
        SetIfChanged(Field, Value, [this] { ApplyFrameAndArrange(); });
    }
    template <typename T>
    void SetAndRefresh(T& Field, T Value) {
        SetIfChanged(Field, Value, [this] { PixelGraphicChanged(); });
    }
    template <typename T>
    void SetDitherLimit(T& Field, T Value) {
        SetIfChanged(Field, Value, [this] { RefreshWhen(Dither()); });
    }
    void SetAutoSizeLimit(int& Field, int Value) {
        SetIfChanged(Field, Value, [this] { RefreshWhen(FAutoSize); });
    }
    void RefreshWhen(bool Condition);
    void ApplyFrameAndArrange();

    void StopWorker() { FDisplay.StopWorker(); }
    void ProgressArrived();

    bool FAutoSize = false;
    TPGAutoSizeLimits FAutoSizeLimits;
    TColor FColor = clBtnFace;
    bool FFlipHorizontal = false;
    bool FFlipVertical = false;
    TTiling FTiling = tNone;
    TColor FPicBoxFrameColor = clBtnShadow;
    bool FProgress5Clocks = true;
    bool FShowHint = false;
    bool FShowHourGlass = true;
    QPainter* FCanvas = nullptr;
    QRegion FPaintRegion; // what the paint in progress covers
    bool FClocksOverPicture = false;

    // The parts. The picture box is the viewport's child (owned by Qt). The picture holds a
    // reference to the display copy, made after it.
    TPGViewPicture FPicture;
    TPicBox* FPicBox;
    TPGPicBoxLayout FLayout;
    TPGSelectionTracker FTracker;
    // Last: its worker is stopped before anything it reads goes.
    TPGDisplayCopy FDisplay;
    // The picture's changes and the worker's progress.
    TEventConnection FPictureChanged;
    TEventConnection FDisplayProgress;
};
