// A scratch working directory for launcher tests, and the helper programs built for them.
#pragma once

#include <string>

namespace launcher_test {

// A fresh directory under the temporary folder that is the working directory while the
// object lives; removed with its files afterwards.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return path_; }
    void Write(const std::string& name, const std::string& bytes) const;
    // Writes the file dated a day back, as one left from an earlier session.
    void WriteOld(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;
    bool Exists(const std::string& name) const;
    void Remove(const std::string& name) const;
    // Copies a helper program (conspawn.exe, standin_*.exe) in under the given name.
    void CopyProgram(const std::string& program, const std::string& as_name) const;

private:
    std::string File(const std::string& name) const { return path_ + "\\" + name; }
    std::string path_;
    std::string previous_;
};

// The folder of helper programs next to the test program.
std::string ProgramsDir();

}  // namespace launcher_test
