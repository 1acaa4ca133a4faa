#include "platform/paths.h"

std::string IncludeTrailingPathDelimiter(const std::string& Path) {
    return !Path.empty() && Path.back() == '/' ? Path : Path + '/';
}

std::string ExtractFilePath(const std::string& FileName) {
    const std::size_t Slash = FileName.rfind('/');
    return Slash == std::string::npos ? std::string() : FileName.substr(0, Slash + 1);
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
