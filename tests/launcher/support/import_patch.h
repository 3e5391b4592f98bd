// A seam for faults the platform will not produce on demand (a full disk, no memory).
// The launcher's code is linked into the test program, so its calls of system functions
// go through the test program's import table; a patch points one entry of that table
// at a replacement while it lives. The launcher's own code and program are unchanged.
#pragma once

namespace launcher_test {

class ImportPatch {
public:
    ImportPatch(const char* dll, const char* function, void* replacement);
    ~ImportPatch();
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    bool applied() const { return slot_ != nullptr; }
    void* original() const { return original_; }

private:
    void** slot_ = nullptr;
    void* original_ = nullptr;
};

}  // namespace launcher_test
