#include "platform/paths.h"

#include <filesystem>
#include <system_error>

std::string IncludeTrailingPathDelimiter(const std::string& Path) {
    return !Path.empty() && Path.back() == '/' ? Path : Path + '/';
}

std::string ExtractFilePath(const std::string& FileName) {
    const std::size_t Slash = FileName.rfind('/');
    return Slash == std::string::npos ? std::string() : FileName.substr(0, Slash + 1);
}

std::string ExtractFileName(const std::string& FileName) {
    return FileName.substr(ExtractFilePath(FileName).size());
}

std::string ExcludeTrailingPathDelimiter(std::string Path) {
    while (Path.size() > 1 && Path.back() == '/') {
        Path.pop_back();
    }
    return Path;
}

std::string ExpandFileName(const std::string& FileName) {
    std::error_code Error;
    const std::filesystem::path Absolute = std::filesystem::absolute(FileName, Error);
    return Error ? FileName : Absolute.lexically_normal().string();
}

std::string ChangeFileExt(const std::string& FileName, const std::string& Extension) {
    const std::size_t Slash = FileName.rfind('/');
    const std::size_t NameStart = Slash == std::string::npos ? 0 : Slash + 1;
    const std::size_t Dot = FileName.rfind('.');
    if (Dot == std::string::npos || Dot < NameStart) {
        return FileName + Extension;
    }
    return FileName.substr(0, Dot) + Extension;
}
