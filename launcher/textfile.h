// Files by bare name, as the editors and output windows read and write them.
#pragma once

#include <windows.h>

#include <string>

#include "handle.h"

namespace orvello {

// A name of the launcher's own (plain ASCII) for the wide-character API.
std::wstring Wide(const char* ascii);

// The name a file is opened by: the solvers' own spelling (upper case) of the name the
// launcher shows. Where letter case counts, as under Wine on a Linux folder that holds
// both input.tp and INPUT.TP, the exact spelling is found first; so the editor, the solver
// and the report window all use the file the solver uses. The wide file API takes the
// name relative to the working directory, whatever its depth or its script.
std::wstring SolverSpelling(const char* name);

// Opens the file for reading, or creates it (cutting an existing one) for writing.
File OpenByName(const char* name, bool for_writing);

// Shows "Error!" with the message formatted for the file name, owned by the window.
void ShowFileError(HWND owner, const char* format, const char* name);

// Asks Retry or Cancel about the file, with the warning icon; answers true on Retry.
bool AskRetry(HWND owner, const char* format, const char* name);

// Tries until the attempt succeeds or the user cancels; answers whether it succeeded.
template <typename Attempt>
bool WithRetry(HWND owner, const char* format, const char* name, Attempt attempt) {
    while (!attempt())
        if (!AskRetry(owner, format, name)) return false;
    return true;
}

// The load procedure: opens the file (with Retry/Cancel), reads it whole and shows its
// text, up to the first zero byte, in the text area. Answers false when the caller
// should close its window: the user cancelled, or the file could not be read (which
// has been reported).
bool LoadFile(const char* name, HWND owner, HWND text_area);

}  // namespace orvello
