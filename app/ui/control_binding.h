#pragma once

#include "app/settings/settings_model.h"
#include "core/color.h"

#include <Qt>
#include <functional>
#include <string>
#include <variant>

class QAbstractItemView;
class QCheckBox;
class QPushButton;
class TColorButton;
class TEdit;
class TFontComboBox;
class TIconFileListBox;
class TPageControl;
class TPGImage;
class TRadioGroup;
class TSpinEdit;

// How the settings window binds its controls: one overload per kind of control of
//   Bind(Control, Action)   Action runs after every change of the control's value (by the user
//                           or in code) or, for a button, when it is pressed;
//   ValueOf(Control)        the value the control shows, as the settings carry it;
//   Show(Control, Value)    the control shows Value (and so runs its change handling when the
//                           value is a different one).
// A failure that escapes an Action is shown by the program's default error handler and the
// window goes on. A control is bound once: binding one that is bound already raises
// std::logic_error instead of silently dropping the first binding.

using TControlAction = std::function<void()>;

// Runs Action as the bound controls run theirs: a failure is shown by the program's default
// error handler and the window goes on.
void RunGuarded(const TControlAction& Action);

void Bind(QPushButton& Button, TControlAction Action);
void Bind(QCheckBox& Box, TControlAction Action);
void Bind(TSpinEdit& Edit, TControlAction Action);
void Bind(TRadioGroup& Group, TControlAction Action);
void Bind(TColorButton& Button, TControlAction Action);
void Bind(TFontComboBox& Box, TControlAction Action);
void Bind(TEdit& Edit, TControlAction Action);
void Bind(TIconFileListBox& Files, TControlAction Action); // a click on a file
void Bind(TPageControl& Pages, TControlAction Action);     // a page change the user made
void Bind(TPGImage& Image, TControlAction Action);         // a click on the view or on its picture
void Bind(QAbstractItemView& View, TControlAction Action); // another row becomes the current one
// A mouse button released over the file list.
void BindMouseUp(TIconFileListBox& Files, std::function<void(Qt::MouseButton Button)> Action);

bool ValueOf(const QCheckBox& Box);
int ValueOf(const TSpinEdit& Edit);
int ValueOf(const TRadioGroup& Group); // the selected item, -1 for none
TColor ValueOf(const TColorButton& Button);
std::string ValueOf(const TFontComboBox& Box); // the family, empty when none is selected
std::string ValueOf(const TEdit& Edit);
int ValueOf(const QAbstractItemView& View); // the current row, -1 for none

void Show(QCheckBox& Box, bool Value);
void Show(TSpinEdit& Edit, int Value);
void Show(TRadioGroup& Group, int Value);
void Show(TColorButton& Button, TColor Value);
void Show(TFontComboBox& Box, const std::string& Value);
void Show(TEdit& Edit, const std::string& Value);
void Show(QAbstractItemView& View, int Row); // -1: none

// A control that shows a setting.
using TSettingControl =
    std::variant<QCheckBox*, TSpinEdit*, TRadioGroup*, TColorButton*, TFontComboBox*, TEdit*>;

// Every change of Control is stored as the setting Key of Settings.
void BindSetting(const TSettingControl& Control, TSettingsModel& Settings, const TSettingKey& Key);
// Control shows the value of the setting Key.
void ShowSetting(const TSettingControl& Control, const TSettingsModel& Settings,
                 const TSettingKey& Key);
// Control shows Value, a value of the setting it shows.
void ShowSetting(const TSettingControl& Control, const TSettingValue& Value);
