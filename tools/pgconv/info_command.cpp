#include "core/stream.h"
#include "pgraphic/formats/registry.h"
#include "pgraphic/image/lang_strings.h"
#include "tools/pgconv/commands.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void PrintField(const char* Name, const std::string& Value) {
    std::cout << Name << ':' << (Value.empty() ? "" : " ") << Value << '\n';
}

void PrintInfo(const std::string& FileName, const TPGImageFileInfo& Info) {
    PrintField("File", FileName);
    PrintField("Description", Info.Description);
    PrintField("SubFormat", Info.SubFormatText);
    PrintField("Details", Info.DetailsText);
    PrintField("Width", std::to_string(Info.Width));
    PrintField("Height", std::to_string(Info.Height));
    PrintField("Colors", Info.ColorsText);
    PrintField("BitsPerPixel", std::to_string(Info.BitsPerPixel));
    PrintField("ImageCount", std::to_string(Info.ImageCount));
}

// Why a file could not be described, which the information query itself does not tell: the
// system's reason, no reader, or the reader's message.
std::string DescribeFailure(const std::string& FileName) {
    struct stat Status {};
    if (::stat(FileName.c_str(), &Status) != 0 || ::access(FileName.c_str(), R_OK) != 0) {
        return std::strerror(errno);
    }
    if (!S_ISREG(Status.st_mode)) {
        return "not a regular file";
    }
    try {
        TFileStream Stream(FileName, TFileMode::fmOpenRead);
        const TFileFormatReader* Reader =
            FindFileFormatReader(Stream, ExtractFormatExtension(FileName));
        if (Reader == nullptr) {
            return PGLangStr(TPGLangStrId::UnknownFileFormat);
        }
        TPGImageFileInfo Info;
        Reader->GetInfo(Stream, 0, Info);
    } catch (const std::exception& E) {
        return E.what();
    }
    return "cannot be described";
}

} // namespace

int RunInfo(const TPGConvOptions& Options) {
    int Status = 0;
    bool First = true;
    for (const std::string& FileName : Options.Files) {
        TPGImageFileInfo Info;
        if (!GetImageFileInfo(FileName, 0, Info)) {
            std::cerr << "pgconv: " << FileName << ": " << DescribeFailure(FileName) << '\n';
            Status = 1;
            continue;
        }
        if (!First) {
            std::cout << '\n';
        }
        First = false;
        PrintInfo(FileName, Info);
    }
    return Status;
}
