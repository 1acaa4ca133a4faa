#include "widgets/font_combo_box.h"

#include "core/set_if_changed.h"
#include "widgets/font_item_delegate.h"
#include "widgets/font_list_model.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QStyleOptionComboBox>
#include <QStylePainter>

TFontComboBox::TFontComboBox(QWidget* Parent)
    : TSearchComboBox(Parent), FModel(new TFontListModel(this)),
      FDelegate(new TFontItemDelegate(this)) {
    // A list that drops below the box and shows DropDownCount items with a scroll bar, in
    // every widget style (some would open a menu over the box showing all items).
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    setModel(FModel);
    setItemDelegate(FDelegate);
    view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setMaxVisibleItems(8);
    UpdateItemHeight();
    BuildList();
}

void TFontComboBox::SetFontDevice(TFontDevice Value) {
    SetIfChanged(FFontDevice, Value, [this, Value] {
        FDelegate->SetFontDevice(Value);
        BuildList();
    });
}

void TFontComboBox::SetFontType(TFontType Value) {
    SetIfChanged(FFontType, Value, [this] { BuildList(); });
}

void TFontComboBox::SetSorted(bool Value) {
    SetIfChanged(FSorted, Value, [this] { BuildList(); });
}

void TFontComboBox::SetFamilySource(TFontFamilySource Source) {
    FFamilySource = std::move(Source);
    BuildList();
}

void TFontComboBox::BuildList() {
    const QString Selected = FontName();
    std::vector<TFontFamily> Families = FilterFontFamilies(
        FFamilySource ? FFamilySource(FFontDevice) : std::vector<TFontFamily>{}, FFontType);
    if (FSorted) {
        SortFontFamilies(Families);
    }
    FModel->SetFamilies(std::move(Families));
    SetFontName(Selected);
}

QString TFontComboBox::FontName() const {
    const int Index = currentIndex();
    return Index < 0 ? QString() : FModel->Families()[static_cast<std::size_t>(Index)].Name;
}

void TFontComboBox::SetFontName(const QString& Value) {
    const auto& Families = FModel->Families();
    int Found = -1;
    if (!Value.isEmpty()) {
        for (std::size_t I = 0; I < Families.size(); ++I) {
            if (Families[I].Name.compare(Value, Qt::CaseInsensitive) == 0) {
                Found = static_cast<int>(I);
                break;
            }
        }
    }
    setCurrentIndex(Found);
}

std::uint8_t TFontComboBox::PitchAndFamily(int Index) const {
    return FModel->Families().at(static_cast<std::size_t>(Index)).PitchAndFamily;
}

int TFontComboBox::ItemHeight() const {
    return FDelegate->ItemHeight();
}

void TFontComboBox::UpdateItemHeight() {
    FDelegate->SetItemHeight(FontItemHeight(fontMetrics().height()));
}

void TFontComboBox::changeEvent(QEvent* Event) {
    if (Event->type() == QEvent::FontChange) {
        UpdateItemHeight();
    }
    TSearchComboBox::changeEvent(Event);
}

void TFontComboBox::paintEvent(QPaintEvent*) {
    QStylePainter Painter(this);
    QStyleOptionComboBox Option;
    initStyleOption(&Option);
    Option.currentText.clear();
    Option.currentIcon = QIcon();
    Painter.drawComplexControl(QStyle::CC_ComboBox, Option);
    const int Index = currentIndex();
    if (Index < 0) {
        return;
    }
    const QRect Field =
        style()->subControlRect(QStyle::CC_ComboBox, &Option, QStyle::SC_ComboBoxEditField, this);
    const TFontFamily& Family = FModel->Families()[static_cast<std::size_t>(Index)];
    FDelegate->PaintItem(Painter, Field, Family.Name, Family.PitchAndFamily, hasFocus(),
                         isEnabled(), palette(), font());
}
