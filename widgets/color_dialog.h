#pragma once

#include "core/color.h"

#include <string>
#include <vector>

class QWidget;

// Runs the colour dialog modally over Parent, starting at Color with the custom colours given in
// their string form (custom_color_strings.h). When the user accepts, Color becomes the chosen
// colour, CustomColors the dialog's sixteen custom colours in the same form, and the result is
// true; on cancel both are left alone.
bool ExecuteColorDialog(QWidget* Parent, TColor& Color, std::vector<std::string>& CustomColors);
