// Waiting for what another thread or process does, by looking again until
// it shows: the tiers judge an outcome once it is there, never after a fixed
// rest.
#pragma once

#include <windows.h>

#include <functional>

// Waits until condition holds, checking every intervalMs; false on timeout.
inline bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 10000,
                    DWORD intervalMs = 50) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        Sleep(intervalMs);
    }
    return true;
}
