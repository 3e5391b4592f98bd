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

void ShowFileError(HWND owner, const char* format, const char* name) {
    AskAboutFile(owner, format, name, MB_OK);
}

File OpenWithRetry(const char* name, UINT mode, HWND owner) {
    OFSTRUCT info{};
    File file(OpenFile(name, &info, mode));
    while (!file) {
        if (AskAboutFile(owner, kOpenError, name, MB_RETRYCANCEL | MB_ICONWARNING) != IDRETRY)
            return File();
        file.reset(OpenFile(name, &info, mode));
    }
    return file;
}

bool LoadFile(const char* name, HWND owner, HWND text_area) {
    File file = OpenWithRetry(name, OF_READ, owner);
    if (!file) return false;

    // A size that cannot be taken, or that leaves no room for the terminating zero,
    // would make the buffer smaller than the read.
    DWORD high = 0;
    DWORD size = GetFileSize(FileHandle(file), &high);
    if ((size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) || high != 0 ||
        size > MAXDWORD - 10) {
        ShowFileError(owner, kReadError, name);
        return false;
    }
    LocalMemory buffer(LocalAlloc(LMEM_FIXED, size + 10));
    if (!buffer) {
        ShowFileError(owner, kMemoryError, name);
        return false;
    }
    char* text = static_cast<char*>(buffer.get());
    DWORD got = 0;
    // A read that fails is reported and the window closed: an empty or partial text
    // shown in its place could be saved over the file.
    if (!ReadFile(FileHandle(file), text, size, &got, nullptr)) {
        ShowFileError(owner, kReadError, name);
        return false;
    }
    text[got] = '\0';  // the text ends at the first zero byte, the saved one included
    SetWindowTextA(text_area, text);
    return true;
}

}  // namespace orvello
