#pragma once

#include <mutex>

// The process-wide settings of one format, kept as one value: a reader or writer takes one
// snapshot per call (per file for multi-image writing), and a change replaces the whole set or
// one field in one step. A worker thread reading a file while another thread changes the settings
// therefore sees either the old or the new set, never a mixture.
template <typename TSettings>
class TPGSettingsStore {
public:
    TSettings Snapshot() const {
        const std::lock_guard Lock(FLock);
        return FValue;
    }
    void Set(const TSettings& Value) {
        const std::lock_guard Lock(FLock);
        FValue = Value;
    }
    // Changes one field.
    template <typename T>
    void SetField(T TSettings::*Field, T Value) {
        const std::lock_guard Lock(FLock);
        FValue.*Field = Value;
    }

private:
    mutable std::mutex FLock;
    TSettings FValue{};
};
