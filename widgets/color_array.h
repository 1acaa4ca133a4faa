#pragma once

#include "core/color.h"
#include "core/exception.h"
#include "core/object.h"
#include "core/stream.h"

#include <vector>

// A cell address or a dimension outside the grid.
class EColorArrayIndexError : public Exception {
public:
    EColorArrayIndexError();
};

// A grid of colours, Columns x Rows, addressed (column, row) from 1. A row's cells lie together:
// cell (c, r) is element c + (r - 1) * Columns - 1 of the storage.
class TColorArrayClass : public TObject {
public:
    TColorArrayClass(int Columns, int Rows);

    int Columns() const { return FColumns; }
    int Rows() const { return FRows; }
    // A new value discards every colour (all become black); the same value does nothing.
    void SetColumns(int Value);
    void SetRows(int Value);

    TColor Colors(int Column, int Row) const;
    void SetColors(int Column, int Row, TColor Value);

    // Takes the other grid's dimensions and every colour.
    void Assign(const TColorArrayClass& Source);
    // A grid equals itself; never an absent grid; grids of other dimensions are unequal;
    // otherwise equal when every cell is.
    bool Equals(const TColorArrayClass* Other) const;

    // The stored form, "SavedColors": Columns and Rows as tagged integers, then the colours as
    // 4-byte little-endian values, column by column.
    void WriteSavedColors(TStream& Stream) const;
    // Reads that form. Dimensions below 1, or more colours than the stream still holds, raise
    // EReadError and leave the grid as it was.
    void ReadSavedColors(TStream& Stream);

private:
    std::size_t IndexOf(int Column, int Row) const;
    // Every cell black, as many as the dimensions take.
    void ClearCells();

    int FColumns;
    int FRows;
    std::vector<TColor> FColors;
};
