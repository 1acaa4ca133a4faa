#include "widgets/file_list_entries.h"

#include "platform/ascii_text.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

char FoldCase(char C) {
    return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C;
}

// Orders by text ignoring the case of ASCII letters; byte order breaks ties.
bool ShownBefore(std::string_view A, std::string_view B) {
    const std::size_t Common = std::min(A.size(), B.size());
    for (std::size_t I = 0; I < Common; ++I) {
        const auto X = static_cast<unsigned char>(FoldCase(A[I]));
        const auto Y = static_cast<unsigned char>(FoldCase(B[I]));
        if (X != Y) {
            return X < Y;
        }
    }
    return A.size() != B.size() ? A.size() < B.size() : A < B;
}

} // namespace

std::vector<std::string> SplitMask(std::string_view Mask) {
    std::vector<std::string> Patterns;
    std::size_t Start = 0;
    while (Start <= Mask.size()) {
        const auto End = std::min(Mask.find(';', Start), Mask.size());
        const std::string_view Pattern = TrimBlanks(Mask.substr(Start, End - Start));
        if (!Pattern.empty()) {
            Patterns.emplace_back(Pattern);
        }
        Start = End + 1;
    }
    return Patterns;
}

bool MatchesPattern(std::string_view Name, std::string_view Pattern) {
    if (Pattern == "*.*") {
        return true;
    }
    // Greedy matching with one backtrack point: the last "*" seen.
    std::size_t N = 0;
    std::size_t P = 0;
    std::size_t StarP = std::string_view::npos;
    std::size_t StarN = 0;
    while (N < Name.size()) {
        if (P < Pattern.size() &&
            (Pattern[P] == '?' || FoldCase(Pattern[P]) == FoldCase(Name[N]))) {
            ++N;
            ++P;
        } else if (P < Pattern.size() && Pattern[P] == '*') {
            StarP = P++;
            StarN = N;
        } else if (StarP != std::string_view::npos) {
            P = StarP + 1;
            N = ++StarN;
        } else {
            return false;
        }
    }
    while (P < Pattern.size() && Pattern[P] == '*') {
        ++P;
    }
    return P == Pattern.size();
}

TFileType EntryAttributes(bool IsFolder, bool IsRegularFile, bool OwnerWritable,
                          std::string_view Name) {
    TFileType Attributes = 0;
    if (IsFolder) {
        Attributes |= ftDirectory;
    }
    if (IsRegularFile) {
        Attributes |= ftArchive;
    }
    if (!Name.empty() && Name.front() == '.') {
        Attributes |= ftHidden;
    }
    if (!OwnerWritable) {
        Attributes |= ftReadOnly;
    }
    return Attributes;
}

bool TakesEntry(TFileType FileType, TFileType Attributes) {
    constexpr TFileType Special = ftHidden | ftSystem | ftVolumeID | ftDirectory;
    const TFileType Requested = FileType & ~ftNormal;
    if ((Attributes & Special & ~Requested) != 0) {
        return false;
    }
    return (FileType & ftNormal) != 0 || (Attributes & Requested) != 0;
}

std::vector<TFileEntry> ReadFileEntries(const std::string& Directory, std::string_view Mask,
                                        TFileType FileType) {
    const std::vector<std::string> Patterns = SplitMask(Mask);
    std::vector<std::pair<std::string, TFileEntry>> Found; // shown text, entry
    std::error_code Error;
    fs::directory_iterator It(Directory, fs::directory_options::skip_permission_denied, Error);
    for (; !Error && It != fs::directory_iterator(); It.increment(Error)) {
        const std::string Name = It->path().filename().string();
        if (std::none_of(Patterns.begin(), Patterns.end(),
                         [&](const std::string& P) { return MatchesPattern(Name, P); })) {
            continue;
        }
        std::error_code StatusError;
        const fs::file_status Status = It->status(StatusError); // links count as their target
        const bool IsFolder = fs::is_directory(Status);
        const bool Writable = (Status.permissions() & fs::perms::owner_write) != fs::perms::none;
        const TFileType Attributes =
            EntryAttributes(IsFolder, fs::is_regular_file(Status), Writable, Name);
        if (TakesEntry(FileType, Attributes)) {
            TFileEntry Entry{Name, IsFolder};
            Found.emplace_back(EntryText(Entry), std::move(Entry));
        }
    }
    std::sort(Found.begin(), Found.end(),
              [](const auto& A, const auto& B) { return ShownBefore(A.first, B.first); });
    std::vector<TFileEntry> Entries;
    Entries.reserve(Found.size());
    for (auto& Item : Found) {
        Entries.push_back(std::move(Item.second));
    }
    return Entries;
}

std::string EntryText(const TFileEntry& Entry) {
    return Entry.IsFolder ? "[" + Entry.Name + "]" : Entry.Name;
}
