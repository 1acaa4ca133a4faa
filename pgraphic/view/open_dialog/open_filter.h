#pragma once

#include "pgraphic/formats/registry.h"

#include <string>
#include <vector>

// The open dialog's filter: a string of description and pattern pairs separated by '|', the
// patterns of one entry separated by ';' ("Bitmap|*.bmp; *.dib|All files|*.*").

// One name filter per entry as the file dialog takes them, "Description (pattern pattern)".
// "*.*" means every file, also one without a dot; an entry without patterns shows every file;
// a description without its pattern part at the end is dropped.
std::vector<std::string> PGNameFilters(const std::string& Filter);

// The number of listed readers: the entries of the open filter between "Image files" and
// "All files".
int PGListedReaderCount(TFileFormatReaders& Readers);

// The lower-case extension of the listed reader whose entry of the open filter has FilterIndex
// (1 is "Image files", 2 the first listed reader in extension order, ...); empty when no reader
// has that entry.
std::string PGFilterIndexExtension(TFileFormatReaders& Readers, int FilterIndex);
