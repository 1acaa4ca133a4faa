#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

// A fresh folder under the system's temporary folder, removed with everything in it.
class TTempDir {
public:
    TTempDir() {
        std::string Pattern = (std::filesystem::temp_directory_path() / "vespera-XXXXXX").string();
        if (::mkdtemp(Pattern.data()) == nullptr) {
            ADD_FAILURE() << "cannot create a temporary folder";
        }
        FPath = Pattern;
    }
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;
    ~TTempDir() {
        std::error_code Ignored;
        std::filesystem::remove_all(FPath, Ignored);
    }

    // Path of Name inside the folder.
    std::string operator/(const std::string& Name) const { return FPath + "/" + Name; }
    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
};

inline void WriteFile(const std::string& FileName, const std::string& Content) {
    std::ofstream Out(FileName, std::ios::binary | std::ios::trunc);
    Out << Content;
    ASSERT_TRUE(Out.good()) << FileName;
}

// The whole file; empty when it cannot be read.
inline std::string ReadFile(const std::string& FileName) {
    std::ifstream In(FileName, std::ios::binary);
    std::ostringstream Content;
    if (In) {
        Content << In.rdbuf();
    }
    return Content.str();
}

// The permission bits of FileName.
inline mode_t ModeOf(const std::string& FileName) {
    struct stat Info {};
    EXPECT_EQ(::stat(FileName.c_str(), &Info), 0) << FileName;
    return Info.st_mode & 07777;
}

// The names of the entries of Folder, sorted.
inline std::vector<std::string> FolderEntries(const std::string& Folder) {
    std::vector<std::string> Names;
    for (const auto& Entry : std::filesystem::directory_iterator(Folder)) {
        Names.push_back(Entry.path().filename().string());
    }
    std::sort(Names.begin(), Names.end());
    return Names;
}
