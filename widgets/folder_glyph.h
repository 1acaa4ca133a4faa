#pragma once

#include <QPixmap>

// The 16 x 16 glyph of a folder entry in a file list: a closed yellow folder.
QPixmap FolderGlyph();
