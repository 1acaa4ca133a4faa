#pragma once

#include "pgraphic/formats/registry.h"

#include <string>
#include <vector>

// Texts of the picture open dialog: which file a selection names, and the lines that describe
// the selected file.

// The first file of a selection of several, handed over as a folder followed by quoted names
// ("/pictures/"a.png" "b.png""): the text is cut where the second name begins and the first
// remaining quote is removed. A text that does not hold two quoted names stands as it is.
std::string PGFirstSelectedFile(std::string Text);

// The path the preview is made for. NameText is the dialog's file-name text: when it lists
// several quoted names the first of them in Folder, otherwise CurrentPath, the item the user
// is on (a file, a folder, or nothing).
std::string PGSelectedFilePath(const std::string& CurrentPath, const std::string& Folder,
                               const std::string& NameText);

// "<width>x<height>x<colors> <bits per pixel> bit", followed by ", <count>" for a file of
// several images.
std::string PGDescriptionSizeLine(const TPGImageFileInfo& Info);

// The description lines in order, each only when not empty: format, sub-format, details, and
// the size line.
std::vector<std::string> PGDescriptionLines(const TPGImageFileInfo& Info);

// Top of line Index of Count lines spread over a panel of Height pixels.
int PGDescriptionLineTop(int Index, int Count, int Height);
