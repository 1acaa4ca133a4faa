#pragma once

#include <string>

class TImageFile;

// Byte-range locks on a disk image file in QEMU's convention, so that Vespera and a running
// virtual machine never change the same image at once.
//
// QEMU holds shared open-file-description locks on single bytes of an image it has open: byte
// 100 + n for each permission n it holds and byte 200 + n for each permission n it does not let
// others have (n = 0 consistent reading, 1 writing, 3 resizing). Before it starts, it tests
// for the same locks held by others. Vespera takes the locks of a reader (consistent reading,
// writing and resizing not shared) or of a writer (reading and writing, writing and resizing
// not shared) and tests the bytes that conflict with them: a reader is refused while a machine
// may write, a writer while a machine has the image open at all; and while Vespera holds them,
// a machine cannot start on the image.
//
// Runs of Vespera order themselves through one more byte, far from QEMU's: a writer waits until
// the other runs have finished with the image.
class TImageLock {
public:
    enum class TUse { uRead, uWrite };

    // Takes the locks on Image's open file (for uWrite it must be open for writing). Raises
    // EDiskImage when a virtual machine uses the image in a conflicting way, or when another run
    // of Vespera does not finish with it in time.
    TImageLock(const TImageFile& Image, TUse Use);
    TImageLock(const TImageLock&) = delete;
    TImageLock& operator=(const TImageLock&) = delete;
    ~TImageLock();

private:
    void Release();

    const TImageFile& FImage;
    TUse FUse;
};

// Whether a virtual machine (or another program keeping QEMU's convention) has the image open in
// a way that conflicts with Use, tested without taking any lock.
bool ImageInUse(const TImageFile& Image, TImageLock::TUse Use);

// Why Image cannot be used while a virtual machine has it open, for messages.
std::string ImageInUseMessage(const TImageFile& Image);
