// Files by bare name: the open with its Retry/Cancel loop and the load procedure.
#include "textfile.h"

#include "resource.h"

namespace orvello {

namespace {

int AskAboutFile(HWND owner, const char* format, const char* name, UINT buttons) {
    char message[1025];  // the most wsprintfA writes
    wsprintfA(message, format, name);
    return MessageBoxA(owner, message, kErrorCaption, buttons);
}

}  // namespace

std::wstring Wide(const char* ascii) {
    std::wstring wide;
    for (const char* c = ascii; *c; ++c) wide += static_cast<wchar_t>(*c);
    return wide;
}

std::wstring SolverSpelling(const char* name) {
    std::wstring wide = Wide(name);
    for (wchar_t& c : wide)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return wide;
}

File OpenByName(const char* name, bool for_writing) {
    return File(CreateFileW(SolverSpelling(name).c_str(), for_writing ? GENERIC_WRITE : GENERIC_READ,
                            FILE_SHARE_READ, nullptr, for_writing ? CREATE_ALWAYS : OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
}

void ShowFileError(HWND owner, const char* format, const char* name) {
    AskAboutFile(owner, format, name, MB_OK);
}

bool AskRetry(HWND owner, const char* format, const char* name) {
    return AskAboutFile(owner, format, name, MB_RETRYCANCEL | MB_ICONWARNING) == IDRETRY;
}

bool LoadFile(const char* name, HWND owner, HWND text_area) {
    File file;
    if (!WithRetry(owner, kOpenError, name, [&] { return bool(file = OpenByName(name, false)); }))
        return false;

    // A size that cannot be taken, or that leaves no room for the terminating zero,
    // would make the buffer smaller than the read.
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > MAXDWORD - 10) {
        ShowFileError(owner, kReadError, name);
        return false;
    }
    const DWORD length = static_cast<DWORD>(size.QuadPart);
    LocalMemory buffer(LocalAlloc(LMEM_FIXED, length + 10));
    if (!buffer) {
        ShowFileError(owner, kMemoryError, name);
        return false;
    }
    char* text = static_cast<char*>(buffer.get());
    DWORD got = 0;
    // A read that fails is reported and the window closed: an empty or partial text
    // shown in its place could be saved over the file.
    if (!ReadFile(file.get(), text, length, &got, nullptr)) {
        ShowFileError(owner, kReadError, name);
        return false;
    }
    text[got] = '\0';  // the text ends at the first zero byte, the saved one included
    SetWindowTextA(text_area, text);
    return true;
}

}  // namespace orvello
