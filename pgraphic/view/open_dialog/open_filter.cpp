#include "pgraphic/view/open_dialog/open_filter.h"

#include "platform/ascii_text.h"

#include <algorithm>

namespace {

std::vector<std::string> Split(const std::string& Text, char Separator) {
    std::vector<std::string> Parts;
    std::string::size_type Start = 0;
    while (true) {
        const auto End = Text.find(Separator, Start);
        Parts.push_back(Text.substr(Start, End - Start));
        if (End == std::string::npos) {
            return Parts;
        }
        Start = End + 1;
    }
}

std::string QtPatterns(const std::string& Patterns) {
    std::string Result;
    for (const std::string& Part : Split(Patterns, ';')) {
        std::string Pattern(TrimBlanks(Part));
        if (Pattern.empty()) {
            continue;
        }
        if (Pattern == "*.*") {
            Pattern = "*";
        }
        Result += (Result.empty() ? "" : " ") + Pattern;
    }
    return Result.empty() ? "*" : Result;
}

} // namespace

std::vector<std::string> PGNameFilters(const std::string& Filter) {
    std::vector<std::string> Filters;
    if (Filter.empty()) {
        return Filters;
    }
    const std::vector<std::string> Parts = Split(Filter, '|');
    for (std::size_t I = 0; I + 1 < Parts.size(); I += 2) {
        Filters.push_back(Parts[I] + " (" + QtPatterns(Parts[I + 1]) + ")");
    }
    return Filters;
}

int PGListedReaderCount(TFileFormatReaders& Readers) {
    return static_cast<int>(std::count_if(Readers.begin(), Readers.end(),
                                          [](const auto& Reader) { return Reader->Listed(); }));
}

std::string PGFilterIndexExtension(TFileFormatReaders& Readers, int FilterIndex) {
    Readers.EnsureSorted();
    int Index = 1; // "Image files"
    for (const auto& Reader : Readers) {
        if (Reader->Listed() && ++Index == FilterIndex) {
            return LowerCase(Reader->Extension());
        }
    }
    return {};
}
