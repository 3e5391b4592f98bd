#include "handle_count.h"

#include <windows.h>

#include <vector>

namespace launcher_test {

namespace {

// The system's handle list (information class 16): a count, then one entry per handle.
struct HandleEntry {
    USHORT process_id;
    USHORT creator_back_trace;
    UCHAR object_type;
    UCHAR attributes;
    USHORT handle;
    PVOID object;
    ULONG granted_access;
};
struct HandleList {
    ULONG count;
    HandleEntry entries[1];
};

constexpr ULONG kSystemHandleInformation = 16;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);

}  // namespace

int OpenHandleCount() {
    using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return -1;
    std::vector<char> buffer(1 << 16);
    LONG status;
    ULONG length = 0;
    while ((status = query(kSystemHandleInformation, buffer.data(),
                           static_cast<ULONG>(buffer.size()), &length)) == kInfoLengthMismatch)
        buffer.resize(buffer.size() * 2);
    if (status != 0) return -1;
    const auto* list = reinterpret_cast<const HandleList*>(buffer.data());
    const auto self = static_cast<USHORT>(GetCurrentProcessId());
    int count = 0;
    for (ULONG i = 0; i < list->count; ++i)
        if (list->entries[i].process_id == self) ++count;
    return count;
}

}  // namespace launcher_test
