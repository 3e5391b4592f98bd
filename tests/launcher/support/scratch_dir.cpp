#include "scratch_dir.h"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace launcher_test {

namespace {

std::string TempRoot() {
    char buffer[MAX_PATH + 1] = {};
    DWORD n = GetTempPathA(sizeof buffer, buffer);
    std::string root(buffer, n);
    if (!root.empty() && root.back() == '\\') root.pop_back();
    return root;
}

}  // namespace

ScratchDir::ScratchDir() {
    static int counter = 0;
    const std::string root = TempRoot();
    for (;;) {
        path_ = root + "\\orvello-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter);
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create scratch directory " + path_);
    }
    char cwd[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(sizeof cwd, cwd);
    previous_ = cwd;
    SetCurrentDirectoryA(path_.c_str());
}

ScratchDir::~ScratchDir() {
    SetCurrentDirectoryA(previous_.c_str());
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string file = File(found.cFileName);
            SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(file.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path_.c_str());
}

void ScratchDir::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(File(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + name);
}

void ScratchDir::WriteOld(const std::string& name, const std::string& bytes) const {
    Write(name, bytes);
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t{};
    t.LowPart = now.dwLowDateTime;
    t.HighPart = now.dwHighDateTime;
    t.QuadPart -= 24ULL * 3600 * 10'000'000;  // 100 ns units
    const FILETIME then{t.LowPart, t.HighPart};
    HANDLE file = CreateFileA(File(name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    const bool dated = file != INVALID_HANDLE_VALUE && SetFileTime(file, nullptr, nullptr, &then);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (!dated) throw std::runtime_error("cannot date " + name);
}

std::string ScratchDir::Read(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    if (!in) return "<missing " + name + ">";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool ScratchDir::Exists(const std::string& name) const {
    return GetFileAttributesA(File(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void ScratchDir::Remove(const std::string& name) const { DeleteFileA(File(name).c_str()); }

void ScratchDir::CopyProgram(const std::string& program, const std::string& as_name) const {
    const std::string from = ProgramsDir() + "\\" + program;
    if (!CopyFileA(from.c_str(), File(as_name).c_str(), FALSE))
        throw std::runtime_error("cannot copy " + from);
}

std::string ProgramsDir() {
    char self[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string dir(self);
    dir.erase(dir.find_last_of('\\'));
    return dir + "\\programs";
}

}  // namespace launcher_test
