// The picture open dialog: properties, the dialog window's life, the selection flow and the
// drawing of the preview panel, its progress clock and the description.

#include "pgraphic/view/open_dialog/pg_open_dialog.h"

#include "core/set_if_changed.h"
#include "pgraphic/canvas/painting.h"
#include "pgraphic/canvas/raster_op.h"
#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/view/open_dialog/open_dialog_layout.h"
#include "pgraphic/view/open_dialog/open_dialog_panels.h"
#include "pgraphic/view/open_dialog/open_dialog_text.h"
#include "pgraphic/view/open_dialog/open_filter.h"
#include "pgraphic/view/open_dialog/preview_geometry.h"
#include "pgraphic/view/open_dialog/preview_pg_thread.h"
#include "pgraphic/view/progress_clock.h"
#include "pgraphic/view/view_rect_qt.h"
#include "pgraphic/view/worker/worker_events.h"
#include "platform/display.h"
#include "platform/message_box.h"
#include "platform/qt/qt_color.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace {

constexpr int kDebounceMilliseconds = 150;
// The preview panel's frame takes 2 pixels on each side.
constexpr int kPreviewFrames = 4;

QColor ShadeColor(TPGFrameShade Shade) {
    switch (Shade) {
    case fsShadow:
        return ToQColor(clBtnShadow);
    case fsBlack:
        return Qt::black;
    case fsWhite:
        return Qt::white;
    case fsFace:
        break;
    }
    return ToQColor(clBtnFace);
}

} // namespace

TPGOpenDialog::TPGOpenDialog(QObject* Owner)
    : TOpenDialog(Owner), FThread(std::make_unique<TCreateOpenSaveDialogPaintPGThread>()),
      FDebounceTimer(std::make_unique<QTimer>()) {
    SetOptions({ofHideReadOnly, ofShareAware});
    SetFilter(DefaultFilter());
    FDebounceTimer->setInterval(kDebounceMilliseconds);
    connect(FDebounceTimer.get(), &QTimer::timeout, this, [this] { OnDebounceTimer(); });
}

TPGOpenDialog::~TPGOpenDialog() {
    FDebounceTimer.reset();
    FPreview.reset();
    StopWorker();
}

bool TPGOpenDialog::Execute() {
    FDescriptionValid = false;
    if (FUseDefaultFilter) {
        SetFilter(DefaultFilter());
    }
    return TOpenDialog::Execute();
}

void TPGOpenDialog::SetOptions(TOpenOptions Value) {
    if (!Value.Contains(ofShareAware)) {
        TMessageBoxRequest Request;
        Request.Caption = QCoreApplication::applicationName().toStdString();
        Request.Text = "TPGOpenDialog.Options and TPGSaveDialog.Options must include ofShareAware!";
        Request.Type = TMsgDlgType::mtWarning;
        ShowMessageBox(Request);
        Value.Include(ofShareAware);
    }
    TOpenDialog::SetOptions(Value);
}

std::string TPGOpenDialog::GetFilterExtension(int FilterIndex) const {
    return FUseDefaultFilter ? PGFilterIndexExtension(FileFormatReaders(), FilterIndex)
                             : std::string();
}

int TPGOpenDialog::ListedReaderCount() const {
    return FUseDefaultFilter ? PGListedReaderCount(FileFormatReaders()) : 0;
}

std::string TPGOpenDialog::DefaultFilter() const {
    return BuildOpenFilter();
}

TFileFormatReaders& TPGOpenDialog::FileFormatReaders() const {
    return ::FileFormatReaders();
}

void TPGOpenDialog::SetPalette8BitSys24BitGraphic(TPalette8BitSys24BitGraphic Value) {
    if (IsPalette8BitSys24BitGraphic(Value)) {
        FPalettes.Palette8BitSys24BitGraphic = Value;
    }
}

void TPGOpenDialog::SetPalette8BitSys8BitGraphic(TPalette8BitSys8BitGraphic Value) {
    if (IsPalette8BitSys8BitGraphic(Value)) {
        FPalettes.Palette8BitSys8BitGraphic = Value;
    }
}

void TPGOpenDialog::SetShowInfo(bool Value) {
    SetIfChanged(FShowInfo, Value, [this] { InvalidateDescription(); });
}

bool TPGOpenDialog::DebounceActive() const {
    return FDebounceTimer->isActive();
}

QWidget* TPGOpenDialog::PreviewPanel() const {
    return FPreviewPanel;
}

QWidget* TPGOpenDialog::DescriptionPanel() const {
    return FDescriptionPanel;
}

// --- The dialog window ---------------------------------------------------------------------------

void TPGOpenDialog::InitDialog(QFileDialog& Dialog) {
    TOpenDialog::InitDialog(Dialog);
    FCurrentPath.clear();
    AddPreviewSide(Dialog);
    connect(&Dialog, &QFileDialog::currentChanged, this, [this](const QString& Path) {
        FCurrentPath = Path.toStdString();
        SelectionChanged();
    });
    // The file the dialog starts with shows selected: it is previewed as any selection is.
    if (!FileName().empty() && !Dialog.selectedFiles().isEmpty()) {
        FCurrentPath = Dialog.selectedFiles().front().toStdString();
        SelectionChanged();
    }
}

void TPGOpenDialog::AddPreviewSide(QFileDialog& Dialog) {
    const TPGOpenDialogLayout Layout = PGOpenDialogLayout(PGDialogBaseUnits(Dialog.font()));
    auto* Side = new QWidget(&Dialog);
    Side->setObjectName("previewSide");
    Side->setFixedSize(Layout.SideWidth, Layout.SideHeight);
    auto* Preview = new TPGOwnerDrawPanel(Side);
    Preview->setObjectName("previewPanel");
    Preview->setGeometry(ToQRect(Layout.Preview));
    FPreviewDrawing = Preview->OnDrawItem.Connect(
        [this](QPainter& Painter, const QRect& Client) { DrawPreview(Painter, Client); });
    auto* Description = new TPGOwnerDrawPanel(Side);
    Description->setObjectName("descriptionPanel");
    Description->setGeometry(ToQRect(Layout.Description));
    FDescriptionDrawing = Description->OnDrawItem.Connect(
        [this](QPainter& Painter, const QRect& Client) { DrawDescription(Painter, Client); });
    FSide = Side;
    FPreviewPanel = Preview;
    FDescriptionPanel = Description;

    // Beside everything the file dialog shows, from its top to its bottom; the window grows by
    // as much (as far as the screen allows), so the file list keeps its room.
    int Spacing = 0;
    if (auto* Grid = qobject_cast<QGridLayout*>(Dialog.layout())) {
        Grid->addWidget(Side, 0, Grid->columnCount(), std::max(Grid->rowCount(), 1), 1,
                        Qt::AlignTop);
        Spacing = std::max(Grid->horizontalSpacing(), 0);
    } else if (Dialog.layout() != nullptr) {
        Dialog.layout()->addWidget(Side);
    }
    int Width = Dialog.width() + Layout.SideWidth + Spacing;
    if (const QScreen* Screen = Dialog.screen()) {
        Width = std::min(Width, std::max(Dialog.width(), Screen->availableGeometry().width()));
    }
    Dialog.resize(Width, Dialog.height());
}

void TPGOpenDialog::ShowDialog(QFileDialog& Dialog) {
    TOpenDialog::ShowDialog(Dialog);
    const QScreen* Screen = Dialog.screen();
    if (Screen == nullptr) {
        return;
    }
    const QSize Size = Dialog.frameGeometry().size();
    const TPGPoint At =
        PGOpenDialogPosition(ToRect(Screen->geometry()), Size.width(), Size.height());
    Dialog.move(At.X, At.Y);
}

void TPGOpenDialog::DestroyDialog() {
    FreePreview();
    FPreviewDrawing.Disconnect();
    FDescriptionDrawing.Disconnect();
    FSide = nullptr;
    FPreviewPanel = nullptr;
    FDescriptionPanel = nullptr;
    TOpenDialog::DestroyDialog();
}

// --- Selection and preview -----------------------------------------------------------------------

void TPGOpenDialog::SelectionChanged() {
    FreePreview();
    FDescriptionValid = false;
    InvalidatePreviewInside();
    InvalidateDescription();
    FDebounceTimer->start();
}

void TPGOpenDialog::OnDebounceTimer() {
    FDebounceTimer->stop();
    if (FSide) {
        LoadPreview();
    }
}

std::string TPGOpenDialog::SelectedFilePath() const {
    const QFileDialog* Dialog = DialogWindow();
    if (Dialog == nullptr) {
        return {};
    }
    const auto* NameEdit = Dialog->findChild<QLineEdit*>("fileNameEdit");
    return PGSelectedFilePath(FCurrentPath, Dialog->directory().absolutePath().toStdString(),
                              NameEdit != nullptr ? NameEdit->text().toStdString() : "");
}

void TPGOpenDialog::LoadPreview() {
    // The rest is over, also when the preview is asked for before the debounce fired.
    FreePreview();
    const std::string Path = SelectedFilePath();
    FDescriptionValid = GetImageFileInfo(Path, 0, FDescription);
    InvalidateDescription();
    InvalidatePreviewInside();
    // Files that no reader recognises get no preview; without a panel there is nothing to fit.
    const QWidget* Panel = FPreviewPanel.data();
    if (!FDescriptionValid || Panel == nullptr) {
        return;
    }
    FThread.reset();
    auto Thread = std::make_unique<TCreateOpenSaveDialogPaintPGThread>();
    Thread->SetInactive(false);
    Thread->SetTargetWindow(this);
    Thread->SetFileName(Path);
    Thread->SetMaxSize(Panel->width() - kPreviewFrames, Panel->height() - kPreviewFrames);
    Thread->SetStretchMode(FStretchMode);
    Thread->SetPalettes(FPalettes);
    Thread->SetDisplayDepth(ScreenColorDepth());
    FThread = std::move(Thread);
    FThread->Resume();
}

void TPGOpenDialog::customEvent(QEvent* Event) {
    // What a run posted before it was stopped is stale: the selection has moved on.
    const bool Handled = PGHandleWorkerEvent(
        Event, *FThread,
        [this](std::unique_ptr<TPixelGraphic> Image) { ReceivePreview(std::move(Image)); },
        [this](int Step, int Percent) { DrawPreviewClock(Step, Percent); });
    if (!Handled) {
        TOpenDialog::customEvent(Event);
    }
}

void TPGOpenDialog::ReceivePreview(std::unique_ptr<TPixelGraphic> Image) {
    FPreview = std::move(Image);
    FClockShown = false;
    InvalidatePreviewInside();
}

void TPGOpenDialog::StopWorker() {
    FThread->Terminate();
    FThread->WaitFor();
}

void TPGOpenDialog::FreePreview() {
    FDebounceTimer->stop();
    StopWorker();
    FPreview.reset();
    FClockShown = false;
}

void TPGOpenDialog::InvalidatePreviewInside() {
    if (QWidget* Panel = FPreviewPanel.data()) {
        Panel->update(Panel->rect().adjusted(2, 2, -2, -2));
    }
}

void TPGOpenDialog::InvalidateDescription() {
    if (QWidget* Panel = FDescriptionPanel.data()) {
        Panel->update();
    }
}

// --- Drawing the panels -------------------------------------------------------------------------

void TPGOpenDialog::DrawPreviewClock(int Step, int Percent) {
    if (!FClockStyle.Visible) {
        return;
    }
    FClockShown = true;
    FClockStep = Step;
    FClockPercent = Percent;
    if (QWidget* Panel = FPreviewPanel.data()) {
        const TPGPoint At = PGPreviewClockPosition(ToRect(Panel->rect()));
        Panel->repaint(At.X, At.Y, kPGClockSize, kPGClockSize);
    }
}

void TPGOpenDialog::DrawPreview(QPainter& Painter, const QRect& Client) {
    const TPGRect C = ToRect(Client);
    Painter.fillRect(ToQRect(PGPreviewInside(C)), ToQColor(clBtnFace));
    for (const TPGFrameStrip& Strip : PGSunkenFrame(C)) {
        Painter.fillRect(ToQRect(Strip.Area), ShadeColor(Strip.Shade));
    }
    if (FPreview) {
        const TPGRect At = PGPreviewPaintRect(C, FPreview->Width(), FPreview->Height());
        if (At.Width() > 0 && At.Height() > 0) {
            DrawToDC(*FPreview, Painter, ToQRect(At), false, cmSrcCopy);
        }
    } else if (FClockShown && FClockStyle.Visible) {
        DrawClock(Painter, Client);
    }
}

void TPGOpenDialog::DrawClock(QPainter& Painter, const QRect& Client) {
    const TPGPoint At = PGPreviewClockPosition(ToRect(Client));
    // The clock's square is the face colour around the dial.
    Painter.fillRect(At.X, At.Y, kPGClockSize, kPGClockSize, ToQColor(clBtnFace));
    PGDrawProgressClock(Painter, At.X, At.Y, FClockStep, FClockPercent, FClockStyle);
}

void TPGOpenDialog::DrawDescription(QPainter& Painter, const QRect& Client) {
    Painter.fillRect(Client, ToQColor(clBtnFace));
    if (!FShowInfo || !FDescriptionValid) {
        return;
    }
    const std::vector<std::string> Lines = PGDescriptionLines(FDescription);
    const int Count = static_cast<int>(Lines.size());
    const QFontMetrics Metrics(FDescriptionPanel->font());
    Painter.setFont(FDescriptionPanel->font());
    Painter.setPen(ToQColor(SystemColor(COLOR_BTNTEXT)));
    for (int I = 0; I < Count; ++I) {
        // A line too long for the panel ends in an ellipsis rather than being cut off.
        const QString Text =
            Metrics.elidedText(QString::fromStdString(Lines[static_cast<std::size_t>(I)]),
                               Qt::ElideRight, Client.width());
        const QRect Line(Client.left(),
                         Client.top() + PGDescriptionLineTop(I, Count, Client.height()),
                         Client.width(), Metrics.height());
        Painter.drawText(Line, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, Text);
    }
}
