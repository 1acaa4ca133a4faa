#include "widgets/color_array.h"

#include "core/little_endian.h"
#include "core/set_if_changed.h"
#include "core/tagged_integer.h"

#include <array>
#include <cstdint>

EColorArrayIndexError::EColorArrayIndexError() : Exception("Array index out of bounds") {}

namespace {

std::size_t CellCount(int Columns, int Rows) {
    return static_cast<std::size_t>(Columns) * static_cast<std::size_t>(Rows);
}

void CheckDimension(int Value) {
    if (Value < 1) {
        throw EColorArrayIndexError();
    }
}

} // namespace

TColorArrayClass::TColorArrayClass(int Columns, int Rows) : FColumns(Columns), FRows(Rows) {
    CheckDimension(Columns);
    CheckDimension(Rows);
    ClearCells();
}

void TColorArrayClass::ClearCells() {
    FColors.assign(CellCount(FColumns, FRows), 0);
}

void TColorArrayClass::SetColumns(int Value) {
    CheckDimension(Value); // the current value always passes
    SetIfChanged(FColumns, Value, [this] { ClearCells(); });
}

void TColorArrayClass::SetRows(int Value) {
    CheckDimension(Value); // the current value always passes
    SetIfChanged(FRows, Value, [this] { ClearCells(); });
}

std::size_t TColorArrayClass::IndexOf(int Column, int Row) const {
    if (Column < 1 || Column > FColumns || Row < 1 || Row > FRows) {
        throw EColorArrayIndexError();
    }
    return static_cast<std::size_t>(Column - 1) +
           static_cast<std::size_t>(Row - 1) * static_cast<std::size_t>(FColumns);
}

TColor TColorArrayClass::Colors(int Column, int Row) const {
    return FColors[IndexOf(Column, Row)];
}

void TColorArrayClass::SetColors(int Column, int Row, TColor Value) {
    FColors[IndexOf(Column, Row)] = Value;
}

void TColorArrayClass::Assign(const TColorArrayClass& Source) {
    FColumns = Source.FColumns;
    FRows = Source.FRows;
    FColors = Source.FColors;
}

bool TColorArrayClass::Equals(const TColorArrayClass* Other) const {
    if (Other == this) {
        return true;
    }
    return Other != nullptr && Other->FColumns == FColumns && Other->FRows == FRows &&
           Other->FColors == FColors;
}

void TColorArrayClass::WriteSavedColors(TStream& Stream) const {
    WriteTaggedInteger(Stream, FColumns);
    WriteTaggedInteger(Stream, FRows);
    for (int C = 1; C <= FColumns; ++C) {
        for (int R = 1; R <= FRows; ++R) {
            std::array<std::uint8_t, 4> Bytes{};
            PutLE32(Bytes.data(), static_cast<std::uint32_t>(Colors(C, R)));
            Stream.WriteBuffer(Bytes.data(), 4);
        }
    }
}

void TColorArrayClass::ReadSavedColors(TStream& Stream) {
    const int Columns = ReadTaggedInteger(Stream);
    const int Rows = ReadTaggedInteger(Stream);
    if (Columns < 1 || Rows < 1) {
        throw EReadError("Invalid property value");
    }
    // A corrupt count must not size a buffer beyond what the stream can fill.
    const std::int64_t Remaining = Stream.Size() - Stream.Position();
    if (static_cast<std::int64_t>(CellCount(Columns, Rows)) > Remaining / 4) {
        throw EReadError();
    }
    TColorArrayClass Read(Columns, Rows);
    for (int C = 1; C <= Columns; ++C) {
        for (int R = 1; R <= Rows; ++R) {
            std::array<std::uint8_t, 4> Bytes{};
            Stream.ReadBuffer(Bytes.data(), 4);
            Read.SetColors(C, R, static_cast<TColor>(GetLE32(Bytes.data())));
        }
    }
    Assign(Read);
}
