#pragma once

class QWidget;

// Whether Control lets what lies behind it show through: a TPGLabel, TPGCheckBox,
// TPGRadioButton, TPGGroupBox or TPGPanel whose Transparent is on, or any TPGBevel. False for
// every other widget and for none.
bool IsTransparentControl(const QWidget* Control);

// Invalidates every direct child of Parent for which IsTransparentControl is true, so that it
// repaints over Parent's new look. Containers call it after invalidating themselves.
void InvalidateTransparentChildren(const QWidget& Parent);
