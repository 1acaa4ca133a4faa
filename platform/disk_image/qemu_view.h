#pragma once

#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

// A disk image in one of QEMU's own formats (dynamic or differencing VHD, VHDX, VDI, VMDK,
// qcow2 and the like) seen as a raw file. QEMU's storage daemon (qemu-storage-daemon, Debian's
// qemu-system-common) opens the image with QEMU's block layer, backing files and extents
// included, takes QEMU's locks on all of them, and exports the disk through FUSE as a regular
// file; the raw-image code then works on that file unchanged. Nothing is parsed here.
//
// The view lives in a folder of its own under the user's runtime folder
// ($XDG_RUNTIME_DIR/vespera-views, else /tmp/vespera-views-UID). The daemon is not tied to this
// process: when this process is killed, a step of mtools under way still completes through
// the view, and the next view made (by any run) stops the daemons and removes the mounts that
// killed runs left behind.
class TQemuView {
public:
    // Exports Image, whose format is Driver (a QEMU block driver name: "vpc", "qcow2", ...), for
    // reading, or for reading and writing. Raises EDiskImage when the daemon is missing, FUSE
    // cannot be used, or QEMU cannot open the image (a running machine holds its locks, a
    // backing file is missing), quoting QEMU.
    TQemuView(const std::string& Image, const std::string& Driver, bool Writable);
    TQemuView(const TQemuView&) = delete;
    TQemuView& operator=(const TQemuView&) = delete;
    // Stops the daemon, which writes back what it holds and removes the export.
    ~TQemuView();

    // The raw view of the disk.
    const std::string& Path() const { return FPath; }
    // The daemon's process, a helper of this program.
    pid_t DaemonPid() const { return FDaemon; }
    // The files the image is made of, as QEMU opened them: the image first, then its backing
    // files and extents (the regular files the daemon holds open).
    const std::vector<std::string>& ImageFiles() const { return FImageFiles; }

private:
    void Stop();

    std::string FFolder;
    std::string FPath;
    pid_t FDaemon = -1;
    std::vector<std::string> FImageFiles;
};

// The QEMU block driver of a format as the disk-image code names it ("dynamic VHD": "vpc");
// empty for one that QEMU is not asked to serve.
std::string QemuDriverOfFormat(const std::string& Format);

// What must be installed to write an image in Format, for messages: empty when it is all there.
std::string MissingForQemuView();

// Stops the daemons and removes the mounts and folders that killed runs left behind.
void RemoveStaleQemuViews();
