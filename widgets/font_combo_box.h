#pragma once

#include "widgets/font_families.h"
#include "widgets/search_combo_box.h"

class TFontListModel;
class TFontItemDelegate;

// Font styles, a set of bits: bold 1, italic 2, underline 4, strike-out 8.
using TFontStyles = std::uint8_t;

// A drop-down list of the installed font families, each marked with a glyph of its kind, with
// incremental search. FontName is the selected family.
class TFontComboBox : public TSearchComboBox {
public:
    explicit TFontComboBox(QWidget* Parent = nullptr);

    TFontDevice FontDevice() const { return FFontDevice; }
    // A change lists the families anew.
    void SetFontDevice(TFontDevice Value);
    TFontType FontType() const { return FFontType; }
    void SetFontType(TFontType Value);
    // The selected family, empty when none is selected.
    QString FontName() const;
    // Selects the family of that name, in any case, or nothing when there is none.
    void SetFontName(const QString& Value);
    int FontSize() const { return FFontSize; }
    void SetFontSize(int Value) { FFontSize = Value; }
    TFontStyles FontStyle() const { return FFontStyle; }
    void SetFontStyle(TFontStyles Value) { FFontStyle = Value; }
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    int DropDownCount() const { return maxVisibleItems(); }
    void SetDropDownCount(int Value) { setMaxVisibleItems(Value); }

    // Where the families come from (the font database unless told otherwise); lists them anew.
    void SetFamilySource(TFontFamilySource Source);
    // The pitch-and-family bits of an item.
    std::uint8_t PitchAndFamily(int Index) const;
    int ItemHeight() const;

protected:
    void paintEvent(QPaintEvent* Event) override;
    void changeEvent(QEvent* Event) override;

private:
    // Fills the list from the family source, keeping the selected family when it is still there.
    void BuildList();
    void UpdateItemHeight();

    TFontListModel* FModel;
    TFontItemDelegate* FDelegate;
    TFontFamilySource FFamilySource = InstalledFontFamilies;
    TFontDevice FFontDevice = fdScreen;
    TFontType FFontType = ftAll;
    int FFontSize = 8;
    TFontStyles FFontStyle = 0;
    bool FSorted = true;
};
