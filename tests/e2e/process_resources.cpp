#include "tests/e2e/process_resources.h"

#include <winternl.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr ULONG SYSTEM_HANDLE_LIST = 16;  // SystemHandleInformation
// The buffer was too small; the length needed comes back.
constexpr auto INFO_LENGTH_MISMATCH = static_cast<NTSTATUS>(0xC0000004);
constexpr ULONG PROCESS_BASIC = 0;      // ProcessBasicInformation
constexpr SIZE_T PEB_GDI_TABLE = 0xF8;  // PEB.GdiSharedHandleTable on 64-bit
constexpr std::size_t GDI_TABLE_SIZE = 0x10000;

// One entry of the GDI handle table, laid out as the system lays it out.
struct GdiEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type;  // 0: the entry is free
    std::uint8_t flags;
    std::uint64_t user;
};
static_assert(sizeof(GdiEntry) == 24);

using QuerySystem = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);

template <typename Function>
Function NtFunction(const char* name) {
    const FARPROC proc = GetProcAddress(GetModuleHandleA("ntdll.dll"), name);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(proc));
}

// One entry of the system's handle list.
struct HandleEntry {
    ULONG ownerId;
    BYTE type;
    BYTE flags;
    USHORT handle;
    void* object;
    ULONG access;
};
static_assert(sizeof(HandleEntry) == 24);

// Counted in the system's list of all open handles. (The process list's
// own count is, under Wine, the size of the process's handle table, which
// doubles as it fills, and so shows only large leaks.)
long HandleCountOf(DWORD processId) {
    const auto query = NtFunction<QuerySystem>("NtQuerySystemInformation");
    if (query == nullptr) {
        return -1;
    }
    std::vector<std::uint64_t> buffer(1 << 16);
    ULONG length = 0;
    NTSTATUS status = INFO_LENGTH_MISMATCH;
    while (status == INFO_LENGTH_MISMATCH) {
        buffer.resize(std::max<std::size_t>(buffer.size() * 2, length / sizeof(std::uint64_t) + 1));
        status = query(SYSTEM_HANDLE_LIST, buffer.data(),
                       static_cast<ULONG>(buffer.size() * sizeof(std::uint64_t)), &length);
    }
    if (status != 0) {
        return -1;
    }
    // A count, then the entries, aligned as pointers are.
    const auto count = static_cast<std::size_t>(buffer[0] & 0xFFFFFFFFu);
    const auto* entries = reinterpret_cast<const HandleEntry*>(buffer.data() + 1);
    long owned = 0;
    for (std::size_t i = 0; i < count; ++i) {
        owned += entries[i].ownerId == processId ? 1 : 0;
    }
    return owned;
}

long GdiObjectsOf(HANDLE process) {
    const auto query = NtFunction<QueryProcess>("NtQueryInformationProcess");
    PROCESS_BASIC_INFORMATION basic = {};
    ULONG length = 0;
    if (query == nullptr || query(process, PROCESS_BASIC, &basic, sizeof basic, &length) != 0) {
        return -1;
    }
    std::uint64_t table = 0;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process,
                           reinterpret_cast<const BYTE*>(basic.PebBaseAddress) + PEB_GDI_TABLE,
                           &table, sizeof table, &read) ||
        table == 0) {
        return -1;
    }
    std::vector<GdiEntry> entries(GDI_TABLE_SIZE);
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                           entries.size() * sizeof(GdiEntry), &read)) {
        return -1;
    }
    long used = 0;
    for (const GdiEntry& entry : entries) {
        used += entry.type != 0 ? 1 : 0;
    }
    return used;
}

struct WindowCount {
    DWORD processId;
    long count;
};

BOOL CALLBACK CountChild(HWND /*window*/, LPARAM context) {
    ++reinterpret_cast<WindowCount*>(context)->count;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM context) {
    auto* windows = reinterpret_cast<WindowCount*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == windows->processId) {
        ++windows->count;
        EnumChildWindows(window, CountChild, context);
    }
    return TRUE;
}

}  // namespace

ProcessResources MeasureResources(HANDLE process) {
    ProcessResources resources;
    const DWORD processId = GetProcessId(process);
    resources.handles = HandleCountOf(processId);
    resources.gdiObjects = GdiObjectsOf(process);
    WindowCount windows = {processId, 0};
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&windows));
    resources.windows = windows.count;
    resources.guiGdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
    resources.guiUserObjects = GetGuiResources(process, GR_USEROBJECTS);
    GetProcessHandleCount(process, &resources.handleCount);
    return resources;
}

std::string Describe(const ProcessResources& resources) {
    return std::to_string(resources.handles) + " handles, " + std::to_string(resources.gdiObjects) +
           " GDI objects, " + std::to_string(resources.windows) +
           " windows (GetGuiResources: " + std::to_string(resources.guiGdiObjects) + " GDI, " +
           std::to_string(resources.guiUserObjects) +
           " USER; GetProcessHandleCount: " + std::to_string(resources.handleCount) + ")";
}
