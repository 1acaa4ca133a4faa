#pragma once

#include "core/events.h"
#include "core/object.h"
#include "widgets/file_icons.h"
#include "widgets/file_list_entries.h"
#include "widgets/file_list_model.h"
#include "widgets/widget_events.h"

#include <QListView>
#include <string>

class TFileItemDelegate;

// A list of the files of a folder that match a mask, each with its icon from the desktop's icon
// theme, folders as "[name]" with a folder glyph. It reads the folder anew whenever the folder,
// the mask or an option changes, and fires OnChange after every reading, an empty one too.
class TIconFileListBox : public QListView, public TObject {
public:
    explicit TIconFileListBox(QWidget* Parent = nullptr);

    // The listed folder; the current folder at first.
    const std::string& Directory() const { return FDirectory; }
    void SetDirectory(const std::string& Value);
    // Patterns separated by ";", such as "*.txt"; "*.*" at first.
    const std::string& Mask() const { return FMask; }
    void SetMask(const std::string& Value);
    TFileType FileType() const { return FFileType; }
    void SetFileType(TFileType Value);
    // There are no short alternative names on this platform: both settings list the names as
    // they are, and a change reads the folder anew.
    bool ShowLongNames() const { return FShowLongNames; }
    void SetShowLongNames(bool Value);
    bool ShowGlyphs() const { return FShowGlyphs; }
    void SetShowGlyphs(bool Value);
    // 0 lists in one column; more lay the items out in that many columns, filled top to bottom.
    int Columns() const { return FColumns; }
    void SetColumns(int Value);

    int Count() const { return FModel->rowCount(); }
    QString Items(int Index) const;
    int ItemIndex() const;
    // Selects without firing the events; -1 selects nothing.
    void SetItemIndex(int Value);
    int ItemHeight() const;

    // The full path of the selected file; empty when nothing is selected.
    std::string FileName() const;
    // Lists the folder of an existing file and selects it; when the mask does not list the
    // file, its name becomes the mask. Names of no existing file change nothing.
    void SetFileName(const std::string& Path);

    // Reads the folder anew.
    void Update();

    TNotifyEvent OnChange;
    TNotifyEvent OnClick;
    TWidgetMouseEvent OnMouseUp;

protected:
    // Adds one entry of a reading to the items being built; from the 100th entry on the cursor
    // shows that the program is busy until the reading ends.
    virtual void AddEntry(const TFileEntry& Entry);

    void mousePressEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void changeEvent(QEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;

private:
    void UpdateItemHeight();
    void UpdateColumns();
    void Clicked();
    void Change();

    TFileListModel* FModel;
    TFileItemDelegate* FDelegate;
    TFileIconCache FIcons;
    QIcon FFolderGlyph; // drawn once, shared by every folder entry
    std::vector<TFileListItem> FBuilding;
    std::string FDirectory;
    std::string FMask = "*.*";
    TFileType FFileType = ftNormal;
    bool FShowLongNames = true;
    bool FShowGlyphs = true;
    int FColumns = 0;
    int FLastSelected = -1;
};
