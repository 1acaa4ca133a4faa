#pragma once

// Shows the application's busy cursor from Start (or from construction with Show) until it goes
// out of scope, also when the work in between fails. Only one that started restores the cursor.
class TWaitCursor {
public:
    explicit TWaitCursor(bool Show = false);
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
    ~TWaitCursor();

    void Start();

private:
    bool FStarted = false;
};
