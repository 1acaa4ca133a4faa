#include "widgets/icon_file_list_box.h"

#include "core/set_if_changed.h"
#include "platform/paths.h"
#include "platform/qt/wait_cursor.h"
#include "widgets/file_item_delegate.h"
#include "widgets/folder_glyph.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr int kWaitCursorEntry = 100;

std::string CurrentFolder() {
    std::error_code Error;
    const fs::path Current = fs::current_path(Error);
    return Error ? std::string("/") : Current.string();
}

} // namespace

TIconFileListBox::TIconFileListBox(QWidget* Parent)
    : QListView(Parent), FModel(new TFileListModel(this)), FDelegate(new TFileItemDelegate(this)),
      FFolderGlyph(FolderGlyph()), FDirectory(ExcludeTrailingPathDelimiter(CurrentFolder())) {
    setModel(FModel);
    setItemDelegate(FDelegate);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFlow(QListView::TopToBottom); // with columns, each fills top to bottom
    UpdateItemHeight();              // lays the columns out too
    Update();
}

void TIconFileListBox::SetDirectory(const std::string& Value) {
    SetIfChanged(FDirectory, ExcludeTrailingPathDelimiter(Value), [this] { Update(); });
}

void TIconFileListBox::SetMask(const std::string& Value) {
    SetIfChanged(FMask, Value, [this] { Update(); });
}

void TIconFileListBox::SetFileType(TFileType Value) {
    SetIfChanged(FFileType, Value, [this] { Update(); });
}

void TIconFileListBox::SetShowLongNames(bool Value) {
    SetIfChanged(FShowLongNames, Value, [this] { Update(); });
}

void TIconFileListBox::SetShowGlyphs(bool Value) {
    SetIfChanged(FShowGlyphs, Value, [this, Value] {
        FDelegate->SetShowGlyphs(Value);
        UpdateItemHeight();
        Update();
    });
}

void TIconFileListBox::SetColumns(int Value) {
    if (Value >= 0) {
        SetIfChanged(FColumns, Value, [this] { UpdateColumns(); });
    }
}

QString TIconFileListBox::Items(int Index) const {
    return FModel->Items().at(static_cast<std::size_t>(Index)).Text;
}

int TIconFileListBox::ItemIndex() const {
    const QModelIndex Current = selectionModel()->currentIndex();
    return Current.isValid() && selectionModel()->isSelected(Current) ? Current.row() : -1;
}

void TIconFileListBox::SetItemIndex(int Value) {
    if (Value < 0 || Value >= Count()) {
        selectionModel()->clear();
    } else {
        selectionModel()->setCurrentIndex(FModel->index(Value),
                                          QItemSelectionModel::ClearAndSelect);
        scrollTo(FModel->index(Value));
    }
    FLastSelected = ItemIndex();
}

int TIconFileListBox::ItemHeight() const {
    return FDelegate->ItemHeight();
}

std::string TIconFileListBox::FileName() const {
    const int Index = ItemIndex();
    if (Index < 0) {
        return {};
    }
    return IncludeTrailingPathDelimiter(FDirectory) +
           FModel->Items()[static_cast<std::size_t>(Index)].Entry.Name;
}

void TIconFileListBox::SetFileName(const std::string& Path) {
    std::error_code Error;
    if (Path.empty() || !fs::is_regular_file(Path, Error)) {
        return;
    }
    const fs::path File = fs::absolute(Path, Error);
    if (Error) {
        return;
    }
    const std::string Name = File.filename().string();
    const auto Find = [&] {
        const auto& Items = FModel->Items();
        for (std::size_t I = 0; I < Items.size(); ++I) {
            if (!Items[I].Entry.IsFolder && Items[I].Entry.Name == Name) {
                return static_cast<int>(I);
            }
        }
        return -1;
    };
    SetDirectory(File.parent_path().string());
    int Index = Find();
    if (Index < 0) {
        SetMask(Name);
        Index = Find();
    }
    SetItemIndex(Index);
}

void TIconFileListBox::AddEntry(const TFileEntry& Entry) {
    TFileListItem Item{Entry, QString::fromStdString(EntryText(Entry)), QIcon()};
    if (FShowGlyphs) {
        Item.Glyph = Entry.IsFolder ? FFolderGlyph
                                    : FIcons.Icon(QString::fromStdString(
                                          IncludeTrailingPathDelimiter(FDirectory) + Entry.Name));
    }
    FBuilding.push_back(std::move(Item));
}

void TIconFileListBox::Update() {
    const std::vector<TFileEntry> Entries = ReadFileEntries(FDirectory, FMask, FFileType);
    FBuilding.clear();
    FBuilding.reserve(Entries.size());
    {
        TWaitCursor Wait;
        int Added = 0;
        for (const TFileEntry& Entry : Entries) {
            if (++Added == kWaitCursorEntry) {
                Wait.Start();
            }
            AddEntry(Entry);
        }
        FModel->SetItems(std::move(FBuilding));
        FBuilding.clear();
    }
    FLastSelected = -1;
    Change();
}

void TIconFileListBox::Change() {
    if (OnChange) {
        OnChange(this);
    }
}

void TIconFileListBox::Clicked() {
    if (OnClick) {
        OnClick(this);
    }
    const int Selected = ItemIndex();
    if (Selected != FLastSelected) {
        FLastSelected = Selected;
        Change();
    }
}

void TIconFileListBox::mousePressEvent(QMouseEvent* Event) {
    // Only the left button selects, as in the platform's own lists.
    if (Event->button() != Qt::LeftButton) {
        Event->accept();
        return;
    }
    QListView::mousePressEvent(Event);
    if (indexAt(Event->position().toPoint()).isValid()) {
        Clicked();
    }
}

void TIconFileListBox::mouseReleaseEvent(QMouseEvent* Event) {
    QListView::mouseReleaseEvent(Event);
    if (OnMouseUp) {
        const QPoint At = Event->position().toPoint();
        OnMouseUp(this, Event->button(), Event->modifiers(), At.x(), At.y());
    }
}

void TIconFileListBox::keyPressEvent(QKeyEvent* Event) {
    const int Before = ItemIndex();
    QListView::keyPressEvent(Event);
    if (ItemIndex() != Before) {
        Clicked();
    }
}

void TIconFileListBox::UpdateItemHeight() {
    const int ScreenFont = QFontMetrics(QApplication::font()).height();
    FDelegate->SetItemHeight(FileListItemHeight(fontMetrics().height(), ScreenFont));
    UpdateColumns();
    doItemsLayout();
}

void TIconFileListBox::UpdateColumns() {
    if (FColumns > 0) {
        setWrapping(true);
        setResizeMode(QListView::Adjust);
        setGridSize(QSize(std::max(1, viewport()->width() / FColumns), FDelegate->ItemHeight()));
    } else {
        setWrapping(false);
        setGridSize(QSize());
    }
}

void TIconFileListBox::changeEvent(QEvent* Event) {
    if (Event->type() == QEvent::FontChange) {
        UpdateItemHeight();
    }
    QListView::changeEvent(Event);
}

void TIconFileListBox::resizeEvent(QResizeEvent* Event) {
    QListView::resizeEvent(Event);
    if (FColumns > 0) {
        UpdateColumns();
    }
}
