#pragma once

// Root of the class hierarchy: every object that takes part in events (as their Sender) derives
// from TObject, so handlers can tell the objects apart without knowing their types.
class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = default;
    TObject& operator=(const TObject&) = default;
    virtual ~TObject() = default;
};
