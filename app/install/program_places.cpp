#include "app/install/program_places.h"

#include "core/stream.h"
#include "platform/file_ops.h"
#include "platform/folders.h"
#include "platform/paths.h"

std::string TProgramPlaces::SettingsFile() const {
    const std::string Name = ExtractFileName(ProgramFile);
    return ProgramDir + ChangeFileExt(Name.empty() ? std::string("vespera") : Name, ".INI");
}

std::string TProgramPlaces::RecordFilePath(const std::string& TextFileName) const {
    if (TextFileName.empty() || TextFileName.front() == '/' || FileExists(TextFileName)) {
        return TextFileName;
    }
    const std::string InProgramDir = ProgramDir + TextFileName;
    return FileExists(InProgramDir) ? InProgramDir : TextFileName;
}

TProgramPlaces RunningProgramPlaces() {
    TProgramPlaces Places;
    Places.ProgramFile = ProgramFileName();
    Places.ProgramDir = ProgramDirectoryOf(Places.ProgramFile);
    Places.ForcedTarget = InstallTargetOverride();
    if (Places.ForcedTarget.empty()) {
        Places.WindowsDir = WindowsDirectory();
    }
    return Places;
}

void ProvideSampleRecordFile(const TProgramPlaces& Places) {
    const std::string ProgramFolder = ExtractFilePath(Places.ProgramFile);
    const std::string Target = Places.ProgramDir + kSampleRecordFile;
    if (ProgramFolder.empty() || Places.ProgramDir == ProgramFolder || FileExists(Target)) {
        return;
    }
    const std::string Installed =
        ProgramFolder + "../share/vespera/" + std::string(kSampleRecordFile);
    if (FileExists(Installed)) {
        try {
            CopyFile(Installed, Target, true);
        } catch (const EFileError&) {
            // The program starts without the sample then.
        }
    }
}
