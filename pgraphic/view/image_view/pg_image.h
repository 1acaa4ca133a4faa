#pragma once

#include "core/color.h"
#include "core/events.h"
#include "core/object.h"
#include "pgraphic/image/pg_types.h"
#include "pgraphic/view/image_view/ants_patterns.h"
#include "pgraphic/view/image_view/pic_box.h"
#include "pgraphic/view/image_view/selection_geometry.h"
#include "pgraphic/view/image_view/stretch_layout.h"
#include "pgraphic/view/view_rect.h"
#include "pgraphic/view/view_types.h"

#include <QAbstractScrollArea>
#include <QCursor>
#include <QRegion>
#include <functional>
#include <memory>
#include <string>

class QPainter;
class QTimer;
class TCreatePaintPGThread;
class TPixelGraphic;

// A handler may replace the cursor about to be shown.
using TPGSetCursorEvent = std::function<void(TObject* Sender, QCursor& Cursor)>;

// The image view control: shows its own copy of a picture in a scrolling area, placed by a stretch
// rule, optionally centred, tiled and mirrored; sizes itself to the picture on request; on
// displays of 8 bits or fewer (and when it resamples the picture itself) shows a display copy
// made on a worker thread, with progress clocks meanwhile; keeps a selection rectangle that the
// mouse can draw, move and resize; loads and saves by file name.
//
// The picture box (TPicBox) is a child of the viewport whose rectangle is the display rectangle;
// the view paints the picture (and fills the margins) on its viewport beneath it. Children the
// user adds go onto the viewport as well.
class TPGImage : public QAbstractScrollArea, public TObject {
    Q_OBJECT

public:
    explicit TPGImage(QWidget* Parent = nullptr);
    ~TPGImage() override;

    // --- The picture ---------------------------------------------------------------------------
    // The view's own picture (none when empty).
    const TPixelGraphic* PixelGraphic() const { return FPixelGraphic.get(); }
    // The same, to be changed: first stops the worker, which may be reading it. A change made
    // through it announces itself (as every change of a picture does, or with NotifyChange),
    // which brings the view up to date. Change it at once; a later paint may start the worker
    // again.
    TPixelGraphic* EditablePixelGraphic();
    // Shows a copy of Value (none empties the view); the caller keeps its own.
    void SetPixelGraphic(const TPixelGraphic* Value);
    void LoadFromFile(const std::string& FileName) { LoadFromFileExt(FileName, 0); }
    void LoadFromFileExt(const std::string& FileName, int Index);
    virtual void SaveToFile(const std::string& FileName);
    // The file last loaded or saved successfully; empty after a failure. Setting it loads it.
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& Value);

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
    void DiscardPaintPixelGraphic();
    void ReceivePaintPixelGraphic(std::unique_ptr<TPixelGraphic> Image);
    const TPixelGraphic* PaintPixelGraphic() const { return FPaintPixelGraphic.get(); }
    int ProgressStep() const { return FProgressStep; }
    int ProgressPercent() const { return FProgressPercent; }

    // --- Layout and state ------------------------------------------------------------------------
    TPicBox* PicBox() const { return FPicBox; }
    // The client area: the control less border and visible scroll bars.
    int ClientWidth() const { return FBars.ClientWidth; }
    int ClientHeight() const { return FBars.ClientHeight; }
    // 1.0 at natural size, -1 for a non-uniform scaling, else the uniform factor.
    long double Scale() const { return FScale; }
    // The painter of the paint in progress (for OnPaint), else none.
    QPainter* Canvas() const { return FCanvas; }

    // --- Properties ----------------------------------------------------------------------------
    TActionMode ActionMode() const { return FActionMode; }
    void SetActionMode(TActionMode Value);
    bool Allow24BitStretch() const { return FAllow24BitStretch; }
    void SetAllow24BitStretch(bool Value);
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    int AutoSizeMaxHeight() const { return FAutoSizeLimits.MaxHeight; }
    void SetAutoSizeMaxHeight(int Value);
    int AutoSizeMinHeight() const { return FAutoSizeLimits.MinHeight; }
    void SetAutoSizeMinHeight(int Value);
    int AutoSizeMaxWidth() const { return FAutoSizeLimits.MaxWidth; }
    void SetAutoSizeMaxWidth(int Value);
    int AutoSizeMinWidth() const { return FAutoSizeLimits.MinWidth; }
    void SetAutoSizeMinWidth(int Value);
    TRGB BackGroundColor() const { return FBackGroundColor; }
    void SetBackGroundColor(TRGB Value) { FBackGroundColor = Value & 0xFFFFFF; }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    bool Center() const { return FCenter; }
    void SetCenter(bool Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);
    bool Dither() const { return FDither; }
    void SetDither(bool Value);
    std::uint8_t DitherErrorLimit() const { return FDitherErrorLimit; }
    void SetDitherErrorLimit(std::uint8_t Value);
    bool DitherErrorLimitAuto() const { return FDitherErrorLimitAuto; }
    void SetDitherErrorLimitAuto(bool Value);
    bool DitherErrorLimitSoft() const { return FDitherErrorLimitSoft; }
    void SetDitherErrorLimitSoft(bool Value);
    bool FlipHorizontal() const { return FFlipHorizontal; }
    void SetFlipHorizontal(bool Value);
    bool FlipVertical() const { return FFlipVertical; }
    void SetFlipVertical(bool Value);
    bool KeepOldPaintPixelGraphic() const { return FKeepOldPaintPixelGraphic; }
    void SetKeepOldPaintPixelGraphic(bool Value) { FKeepOldPaintPixelGraphic = Value; }
    // Values outside the type's range are ignored.
    TPalette8BitSys24BitGraphic Palette8BitSys24BitGraphic() const { return FPalette24; }
    void SetPalette8BitSys24BitGraphic(TPalette8BitSys24BitGraphic Value);
    TPalette8BitSys8BitGraphic Palette8BitSys8BitGraphic() const { return FPalette8; }
    void SetPalette8BitSys8BitGraphic(TPalette8BitSys8BitGraphic Value);
    TColor PicBoxFrameColor() const { return FPicBoxFrameColor; }
    void SetPicBoxFrameColor(TColor Value) { FPicBoxFrameColor = Value; }
    bool Progress5Clocks() const { return FProgress5Clocks; }
    void SetProgress5Clocks(bool Value) { FProgress5Clocks = Value; }
    TColor ProgressClockBkColor() const { return FProgressClockBkColor; }
    void SetProgressClockBkColor(TColor Value) { FProgressClockBkColor = Value; }
    TColor ProgressClockLineColor() const { return FProgressClockLineColor; }
    void SetProgressClockLineColor(TColor Value) { FProgressClockLineColor = Value; }
    bool ProgressClockVisible() const { return FProgressClockVisible; }
    void SetProgressClockVisible(bool Value) { FProgressClockVisible = Value; }
    bool RGBWeighting() const { return FRGBWeighting; }
    void SetRGBWeighting(bool Value);
    bool RearrangeAlways() const { return FRearrangeAlways; }
    void SetRearrangeAlways(bool Value) { FRearrangeAlways = Value; }
    bool ReduceOnLoad() const { return FReduceOnLoad; }
    void SetReduceOnLoad(bool Value) { FReduceOnLoad = Value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value) { FShowHint = Value; }
    bool ShowHourGlass() const { return FShowHourGlass; }
    void SetShowHourGlass(bool Value) { FShowHourGlass = Value; }
    TStretch Stretch() const { return FStretch; }
    void SetStretch(TStretch Value);
    TStretchMode StretchMode() const { return FStretchMode; }
    void SetStretchMode(TStretchMode Value);
    TTiling Tiling() const { return FTiling; }
    void SetTiling(TTiling Value);
    bool UseThread() const { return FUseThread; }
    void SetUseThread(bool Value);
    TPGWarningAction ReadWarningAction() const { return FReadWarningAction; }
    void SetReadWarningAction(TPGWarningAction Value) { FReadWarningAction = Value; }
    TPGWarningAction SaveColorResWarningAction() const { return FSaveColorResWarningAction; }
    void SetSaveColorResWarningAction(TPGWarningAction Value) {
        FSaveColorResWarningAction = Value;
    }
    long double ZoomFactor() const { return FZoomFactor; }
    void SetZoomFactor(long double Value);

    // --- Selection -------------------------------------------------------------------------------
    bool Selection() const { return FSelection; }
    void SetSelection(bool Value);
    TColor SelectionColor1() const { return FSelectionColor1; }
    void SetSelectionColor1(TColor Value);
    TColor SelectionColor2() const { return FSelectionColor2; }
    void SetSelectionColor2(TColor Value);
    int SelectionLeft() const { return FSelectionBounds.Left; }
    int SelectionTop() const { return FSelectionBounds.Top; }
    int SelectionWidth() const { return FSelectionBounds.Width; }
    int SelectionHeight() const { return FSelectionBounds.Height; }
    void SetSelectionLeft(int Value);
    void SetSelectionTop(int Value);
    void SetSelectionWidth(int Value);
    void SetSelectionHeight(int Value);
    // Repaints only the strips around the old and the new frame.
    void SetSelectionBounds(int Left, int Top, int Width, int Height);
    // The selection in picture-box pixels.
    TPGRect SelectionRectOnBox() const;
    TDragAction DragAction() const { return FDragAction; }

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
    void SetPicBoxOnMouseDown(TMouseEvent Handler) { FPicBox->UserMouseDown = std::move(Handler); }
    void SetPicBoxOnMouseMove(TMouseMoveEvent Handler) {
        FPicBox->UserMouseMove = std::move(Handler);
    }
    void SetPicBoxOnMouseUp(TMouseEvent Handler) { FPicBox->UserMouseUp = std::move(Handler); }
    void SetPicBoxOnPaint(TNotifyEvent Handler) { FPicBox->UserPaint = std::move(Handler); }

    // --- Events ----------------------------------------------------------------------------------
    TPGINewAutoSizeEvent OnNewAutoSize;
    TNotifyEvent OnPaint;
    TNotifyEvent OnPainting;
    TNotifyEvent OnPixelGraphicChange;
    TPGProgressEvent OnPixelGraphicProgress;
    TNotifyEvent OnPixelGraphicProgressEnd;
    TNotifyEvent OnPixelGraphicProgressStart;
    TNotifyEvent OnSelectionChange;
    TNotifyEvent OnSelectionMade;
    TPGSetCursorEvent OnSetCursor;
    TNotifyEvent OnZoomFactorChange;
    TPGSetCursorEvent PicBoxOnSetCursor;
    // Mouse events of the margins (the client area outside the picture box).
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

protected:
    // Paints the client area on Canvas: margins, tiles, or the empty box with its clocks.
    virtual void Paint();

    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void scrollContentsBy(int Dx, int Dy) override;
    void customEvent(QEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;

private:
    // Layout
    int BorderWidth() const;
    TPGViewArea ViewArea() const;
    void ApplyFrame();
    void UpdateScrollBars();
    void PositionPicBox();
    void ZeroPicBox();
    TPGRect BoxOnClient() const;
    bool ImageScrollable() const;

    // Picture
    void AttachForwarding(TPixelGraphic& Image, bool WithChange);
    void StopWorker();
    void StartPaintPreparation(int ScreenBits, bool Stretch);

    // Painting
    void PaintMargins(QPainter& Painter, const TPGRect& Display);
    void PaintTiles(QPainter& Painter, TPixelGraphic& Image, const TPGRect& Display,
                    const QRegion& Region);
    void PaintEmptyBox(QPainter& Painter, const TPGRect& Display);
    void PaintClocks(QPainter& Painter, const TPGRect& Display);
    void ProgressArrived(int Step, int Percent);

    // Selection and mouse
    TPGScaling Scaling() const;
    QRegion SelectionStrips(const TPGRect& R) const;
    void DrawSelection();
    void StepMarchingAnts();
    void CreateSelectionTo(int X, int Y);
    void PicBoxMouseDown(TMouseButton Button, int X, int Y);
    void PicBoxMouseMove(int X, int Y);
    void PicBoxMouseUp();
    void AutoScrollStep();
    void StartAutoScroll();
    void UpdateCursor(QPoint ViewportPosition);
    QCursor PicBoxCursorAt(int X, int Y) const;

    // State, grouped as the properties above.
    TActionMode FActionMode = amMoveImage;
    TPGPoint FDragStart;
    TPGPoint FDragOffset;
    TDragAction FDragAction = daNone;
    TPGPoint FSelectionAnchor;
    bool FAllow24BitStretch = false;
    bool FAutoScroll = true;
    bool FAutoSize = false;
    TPGAutoSizeLimits FAutoSizeLimits;
    TRGB FBackGroundColor = 0;
    TBorderStyle FBorderStyle = bsSingle;
    bool FCenter = false;
    TColor FColor = clBtnFace;
    bool FCtl3D = true;
    bool FDither = true;
    std::uint8_t FDitherErrorLimit = 32;
    bool FDitherErrorLimitAuto = true;
    bool FDitherErrorLimitSoft = true;
    std::string FFileName;
    bool FFlipHorizontal = false;
    bool FFlipVertical = false;
    int FImageWidth = 0;
    int FImageHeight = 0;
    bool FKeepOldPaintPixelGraphic = false;
    bool FArranging = false;
    std::unique_ptr<TPixelGraphic> FPaintPixelGraphic;
    bool FPaintInvalid = false;
    int FPaintWidth = 0;
    int FPaintHeight = 0;
    TPalette8BitSys24BitGraphic FPalette24 = pOptimized252Sys16;
    TPalette8BitSys8BitGraphic FPalette8 = pOptimized252Sys16;
    TPicBox* FPicBox = nullptr;
    TColor FPicBoxFrameColor = clBtnShadow;
    std::unique_ptr<TPixelGraphic> FPixelGraphic;
    bool FProgress5Clocks = true;
    TColor FProgressClockBkColor = clBtnFace;
    TColor FProgressClockLineColor = clBtnShadow;
    bool FProgressClockVisible = true;
    int FProgressStep = 1;
    int FProgressPercent = 0;
    bool FClocksOverPicture = false;
    bool FRGBWeighting = true;
    TPGWarningAction FReadWarningAction = pgwaOKCancelBox;
    bool FRearrangeAlways = false;
    bool FReduceOnLoad = false;
    TPGAntsPatterns FAnts;
    bool FSelection = false;
    int FAntsPhase = 0;
    TColor FSelectionColor1 = clWhite;
    TColor FSelectionColor2 = clRed;
    TPGSelectionBounds FSelectionBounds;
    std::unique_ptr<QTimer> FAntsTimer;
    std::unique_ptr<QTimer> FAutoScrollTimer;
    QPoint FLastMouse; // where the mouse was last seen, in client pixels
    bool FShowHint = false;
    bool FShowHourGlass = true;
    TStretch FStretch = sNeverKAR;
    TStretchMode FStretchMode = smFast;
    bool FUseThread = true;
    TTiling FTiling = tNone;
    TPGWarningAction FSaveColorResWarningAction = pgwaOKCancelBox;
    long double FZoomFactor = 1.0L;
    long double FScale = 1.0L;

    // The picture box's rectangle before scrolling, and the scroll bars it needs.
    TPGRect FBox;
    TPGScrollBars FBars;
    QSize FArrangedSize;
    QPainter* FCanvas = nullptr;
    QRegion FPaintRegion; // what the paint in progress covers
    // Last: stopped before anything it reads goes.
    std::unique_ptr<TCreatePaintPGThread> FThread;
};
