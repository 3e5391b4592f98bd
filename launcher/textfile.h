// Files by bare name, as the editors and output windows read and write them.
#pragma once

#include <windows.h>

#include "handle.h"

namespace orvello {

// Shows "Error!" with the message formatted for the file name, owned by the window.
void ShowFileError(HWND owner, const char* format, const char* name);

// Opens the file with OpenFile in the given mode. While it cannot be opened, asks
// Retry or Cancel (owned by the window) and tries again on Retry. Answers the open
// file, or none when the user cancelled.
File OpenWithRetry(const char* name, UINT mode, HWND owner);

// The load procedure: opens the file (with Retry/Cancel), reads it whole and shows its
// text, up to the first zero byte, in the text area. Answers false when the caller
// should close its window: the user cancelled, or the file could not be read (which
// has been reported).
bool LoadFile(const char* name, HWND owner, HWND text_area);

}  // namespace orvello
