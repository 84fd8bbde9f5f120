// One launcher per user session. Two launchers at once would run two culling
// runs on the same folders, the second taking the first's live backup for a
// leftover; so the first start holds a named mutex for its whole life and
// publishes its process id, and a later start only brings its window forward.
#pragma once

#include <windows.h>

#include "Raii.h"

namespace vantorel {

class SingleInstance {
public:
    // Takes the session's launcher mutex, which a crashed holder leaves free
    // (abandoned); nothing else is read or written before.
    SingleInstance();
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    bool first() const { return first_; }

private:
    raii::UniqueHandle mutex_;
    raii::UniqueHandle published_;
    bool first_ = false;
};

// Brings the running launcher's front window (a message box or the welcome
// window over the options, say) to the foreground; false when it has none.
bool bringRunningInstanceForward();

} // namespace vantorel
