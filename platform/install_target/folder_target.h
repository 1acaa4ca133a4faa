#pragma once

#include "platform/install_target/install_target.h"

// Logos in a folder of the file system, written with platform/atomic_file.h: a temporary file
// beside the logo, flushed and renamed over it; the new file keeps the old one's permissions.
// A failure raises the EFileError (core/stream.h) of the file that failed: the logo's LogoPlace,
// or the copy that CopyLogo makes.
class TFolderTarget final : public TInstallTarget {
public:
    // Folder with or without its trailing "/".
    explicit TFolderTarget(const std::string& Folder);

    std::string Description() const override;
    std::string LogoPlace(const std::string& Name) const override;
    TTargetSpec PlaceFound() override;
    bool LogoExists(const std::string& Name) override;
    std::string ReadLogo(const std::string& Name) override;
    void ReplaceLogo(const std::string& Name, std::string_view Data) override;
    void CopyLogo(const std::string& Name, const std::string& FileName) override;

private:
    std::string FFolder; // with its trailing "/"
};
