// The processes alive on the desktop, listed by their file names.
#pragma once

#include <windows.h>

#include <tlhelp32.h>

// Calls found(id) for every process whose file has that name; false when
// the processes cannot be listed.
template <typename Found>
bool ForEachProcessNamed(const char* file, Found found) {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return false;
    }
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, file) == 0) {
            found(entry.th32ProcessID);
        }
    }
    CloseHandle(snapshot);
    return true;
}
