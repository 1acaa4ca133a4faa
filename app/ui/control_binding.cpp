#include "app/ui/control_binding.h"

#include "app/report/failure_report.h"
#include "app/ui/controls/line_edit.h"
#include "app/ui/controls/page_control.h"
#include "app/ui/controls/radio_group.h"
#include "app/ui/controls/spin_edit.h"
#include "pgraphic/view/image_view/pg_image.h"
#include "pgraphic/view/image_view/pic_box.h"
#include "platform/qt/qt_string.h"
#include "widgets/color_button.h"
#include "widgets/font_combo_box.h"
#include "widgets/icon_file_list_box.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QItemSelectionModel>
#include <QPushButton>
#include <exception>
#include <stdexcept>
#include <utility>

namespace {

// Runs Action as the program's default error handler would: a failure is shown in a message
// and the window goes on.
template <typename TAction>
auto Guarded(TAction Action) {
    return [Action = std::move(Action)](auto&&... Arguments) {
        try {
            Action(std::forward<decltype(Arguments)>(Arguments)...);
        } catch (const std::exception& E) {
            ShowException(E);
        }
    };
}

// Action as the handler of an event whose arguments it does not need.
auto IgnoringArguments(TControlAction Action) {
    return [Action = std::move(Action)](auto&&...) { Action(); };
}

// Assigns a control's change event, which must not be assigned yet.
template <typename TEvent, typename THandler>
void AssignOnce(TEvent& Event, THandler Handler) {
    if (Event) {
        throw std::logic_error("a control bound twice");
    }
    Event = Guarded(std::move(Handler));
}

// Connects a Qt signal of Sender, a part of Control or Control itself; a control has one
// binding, so the signal has one receiver from the window.
template <typename TSender, typename TSignal>
void ConnectOnce(QObject& Control, TSender& Sender, TSignal Signal, TControlAction Action) {
    if (Control.property("vespera_bound").toBool()) {
        throw std::logic_error("a control bound twice");
    }
    Control.setProperty("vespera_bound", true);
    QObject::connect(&Sender, Signal, &Control, Guarded(IgnoringArguments(std::move(Action))));
}

template <typename TControl, typename TSignal>
void ConnectOnce(TControl& Control, TSignal Signal, TControlAction Action) {
    ConnectOnce(Control, Control, Signal, std::move(Action));
}

} // namespace

void RunGuarded(const TControlAction& Action) {
    Guarded(Action)();
}

void Bind(QPushButton& Button, TControlAction Action) {
    ConnectOnce(Button, &QPushButton::clicked, std::move(Action));
}

void Bind(QCheckBox& Box, TControlAction Action) {
    ConnectOnce(Box, &QCheckBox::toggled, std::move(Action));
}

void Bind(TSpinEdit& Edit, TControlAction Action) {
    ConnectOnce(Edit, &QSpinBox::valueChanged, std::move(Action));
}

void Bind(TRadioGroup& Group, TControlAction Action) {
    AssignOnce(Group.OnClick, IgnoringArguments(std::move(Action)));
}

void Bind(TColorButton& Button, TControlAction Action) {
    AssignOnce(Button.OnColorChange, IgnoringArguments(std::move(Action)));
}

void Bind(TFontComboBox& Box, TControlAction Action) {
    AssignOnce(Box.OnChange, IgnoringArguments(std::move(Action)));
}

void Bind(TEdit& Edit, TControlAction Action) {
    ConnectOnce(Edit, &QLineEdit::textChanged, std::move(Action));
}

void Bind(TIconFileListBox& Files, TControlAction Action) {
    AssignOnce(Files.OnClick, IgnoringArguments(std::move(Action)));
}

void Bind(TPageControl& Pages, TControlAction Action) {
    AssignOnce(Pages.OnChange, IgnoringArguments(std::move(Action)));
}

void Bind(TPGImage& Image, TControlAction Action) {
    AssignOnce(Image.OnClick, IgnoringArguments(Action));
    AssignOnce(Image.PicBox()->OnClick, IgnoringArguments(std::move(Action)));
}

void Bind(QAbstractItemView& View, TControlAction Action) {
    ConnectOnce(View, *View.selectionModel(), &QItemSelectionModel::currentRowChanged,
                std::move(Action));
}

void BindMouseUp(TIconFileListBox& Files, std::function<void(Qt::MouseButton Button)> Action) {
    AssignOnce(Files.OnMouseUp,
               [Action = std::move(Action)](TObject*, Qt::MouseButton Button, Qt::KeyboardModifiers,
                                            int, int) { Action(Button); });
}

bool ValueOf(const QCheckBox& Box) {
    return Box.isChecked();
}

int ValueOf(const TSpinEdit& Edit) {
    return Edit.value();
}

int ValueOf(const TRadioGroup& Group) {
    return Group.ItemIndex();
}

TColor ValueOf(const TColorButton& Button) {
    return Button.Color();
}

std::string ValueOf(const TFontComboBox& Box) {
    return ToStdString(Box.FontName());
}

std::string ValueOf(const TEdit& Edit) {
    return ToStdString(Edit.text());
}

int ValueOf(const QAbstractItemView& View) {
    return View.currentIndex().isValid() ? View.currentIndex().row() : -1;
}

void Show(QCheckBox& Box, bool Value) {
    Box.setChecked(Value);
}

void Show(TSpinEdit& Edit, int Value) {
    Edit.setValue(Value);
}

void Show(TRadioGroup& Group, int Value) {
    Group.SetItemIndex(Value);
}

void Show(TColorButton& Button, TColor Value) {
    Button.SetColor(Value);
}

void Show(TFontComboBox& Box, const std::string& Value) {
    Box.SetFontName(ToQString(Value));
}

void Show(TEdit& Edit, const std::string& Value) {
    if (ValueOf(Edit) != Value) {
        // Setting a text, even the one it shows, would clear the selection and move the cursor.
        Edit.setText(ToQString(Value));
    }
}

void Show(QAbstractItemView& View, int Row) {
    if (ValueOf(View) != Row) {
        View.setCurrentIndex(View.model()->index(Row, 0));
    }
}

void BindSetting(const TSettingControl& Control, TSettingsModel& Settings, const TSettingKey& Key) {
    std::visit(
        [&Settings, &Key](auto* Shown) {
            Bind(*Shown, [Shown, &Settings, Key] { Settings.Set(Key, ValueOf(*Shown)); });
        },
        Control);
}

void ShowSetting(const TSettingControl& Control, const TSettingsModel& Settings,
                 const TSettingKey& Key) {
    ShowSetting(Control, Settings.Value(Key));
}

void ShowSetting(const TSettingControl& Control, const TSettingValue& Value) {
    std::visit(
        [&Value](auto* Shown) {
            using TShown = decltype(ValueOf(*Shown));
            Show(*Shown, std::get<TShown>(Value));
        },
        Control);
}
