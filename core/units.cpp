#include "units.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#else
#include <dirent.h>
#include <strings.h>
#endif
#include <unistd.h>

#include "runend.h"
#include "state.h"

namespace core {

namespace {

struct Unit {
    std::FILE* file = nullptr;
    std::string name;
    std::string path;       // the file opened: the name as resolved
    bool writable = false;  // opened for update (false: opened for reading only, so far)
    bool written = false;   // a write since the open (or rewind) has cut the file
    bool loaded = false;    // content holds the file for reading
    std::string content;
    size_t pos = 0;
    int line = 0;           // records read: the line number of the last one
    const char* reads = nullptr;  // what the program reads from it, for the end-of-file report
};

// A unit's record is made at its first use: a run uses three of the hundred, and the
// memory of the others is never touched.
constexpr int kUnits = 100;
std::unique_ptr<Unit> units[kUnits];

Unit& at(int unit) {
    std::unique_ptr<Unit>& u = units[unit >= 0 && unit < kUnits ? unit : 0];
    if (!u) u = std::make_unique<Unit>();
    return *u;
}

IoError from_errno(int err, IoError fallback) {
    switch (err) {
    case ENOENT: return IoError::FileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EBADF:
    case EINVAL: return IoError::AccessRefused;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return IoError::DiskFull;
    default: return fallback;
    }
}

// The name to open: as given when it exists or where names match regardless of case;
// otherwise a directory entry that differs from it only in letter case.
std::string resolve(std::string_view name) {
    std::string given(name);
#ifndef _WIN32
    if (access(given.c_str(), F_OK) == 0) return given;
    if (given.find('/') != std::string::npos) return given;
    if (DIR* dir = opendir(".")) {
        std::string found;
        while (dirent* e = readdir(dir)) {
            if (strcasecmp(e->d_name, given.c_str()) == 0) {
                found = e->d_name;
                break;
            }
        }
        closedir(dir);
        if (!found.empty()) return found;
    }
#endif
    return given;
}

// "INPUT.TP has 5 lines (1 of them blank), the program reads a title and 7 values":
// the lines of the whole file, since the read that meets its end may have skipped
// blank ones.
std::string end_of_file_detail(const Unit& u) {
    int lines = 0, blank = 0;
    for (size_t at = 0; at < u.content.size(); ++lines) {
        size_t lf = u.content.find('\n', at);
        const size_t end = lf == std::string::npos ? u.content.size() : lf;
        const size_t text = u.content.find_first_not_of(" \t\r", at);
        if (text == std::string::npos || text >= end) ++blank;
        at = lf == std::string::npos ? end : lf + 1;
    }
    std::string d = u.name;
    if (lines == 0) {
        d += " is empty";
    } else {
        d += " has " + std::to_string(lines) + (lines == 1 ? " line" : " lines");
        if (blank > 0) d += " (" + std::to_string(blank) + " of them blank)";
    }
    d += u.reads ? std::string(", the program reads ") + u.reads : std::string(", fewer than the program reads");
    return d;
}

void flush_unit(Unit& u) {
    if (!u.file || !u.written) return;
    if (std::fflush(u.file) != 0) {
        int err = errno;
        std::clearerr(u.file);
        io_failure(IoOp::Write, u.name, from_errno(err, IoError::WriteFailed));
    }
}

// Reads the whole file into the unit's content, straight into a string of the file's
// size: no copy through a buffer, and no more memory touched than the text needs.
void load(Unit& u) {
    u.content.clear();
    u.pos = 0;
    u.line = 0;
    u.loaded = true;
    std::rewind(u.file);
    // One byte more than the file's size, so that the end is seen in the same read; a
    // file of unknown size, or one that has grown meanwhile, is read on in pieces.
    constexpr size_t kPiece = 4096;
    struct stat st;
    size_t chunk = fstat(fileno(u.file), &st) == 0 && st.st_size > 0 ? static_cast<size_t>(st.st_size) + 1 : kPiece;
    size_t have = 0;
    for (;;) {
        u.content.resize(have + chunk);
        const size_t n = std::fread(u.content.data() + have, 1, chunk, u.file);
        have += n;
        if (n < chunk) break;
        chunk = kPiece;
    }
    u.content.resize(have);
    if (std::ferror(u.file)) io_failure(IoOp::Read, u.name, IoError::ReadFailed);
}

#ifdef _WIN32
constexpr int kReadOnly = O_RDONLY | O_BINARY;
#else
// A FIFO opened for reading would wait for a writer; without one the read meets the
// end of the file at once instead.
constexpr int kReadOnly = O_RDONLY | O_NONBLOCK;
#endif

// Opens the file for reading only, creating it empty when it is absent and `create`.
std::FILE* open_for_reading(const std::string& path, bool create) {
    const int fd = ::open(path.c_str(), kReadOnly | (create ? O_CREAT : 0), 0666);
    if (fd < 0) return nullptr;
    struct stat st;
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        return nullptr;
    }
#ifndef _WIN32
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);  // a writer that is there is waited for
#endif
    std::FILE* f = fdopen(fd, "rb");
    if (!f) ::close(fd);
    return f;
}

// The first write of a unit opened for reading: the file is opened again for update,
// so that a file the program only reads (its input) is never opened for writing.
void make_writable(Unit& u) {
    std::FILE* f = std::fopen(u.path.c_str(), "r+b");
    if (!f) io_failure(IoOp::Write, u.name, from_errno(errno, IoError::WriteFailed));
    std::fclose(u.file);
    u.file = f;
    u.writable = true;
}

// A report file that is a device (the null device, a terminal) has nothing to cut.
bool regular_file(std::FILE* f) {
    struct stat st;
    return fstat(fileno(f), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

void open_unit(int unit, std::string_view name, OpenStatus status, const char* reads) {
    Unit& u = at(unit);
    if (u.file) close_unit(unit);
    u = Unit{};
    u.name = std::string(name);
    u.reads = reads;
    u.path = resolve(name);
    u.file = open_for_reading(u.path, status == OpenStatus::Unknown);
    if (!u.file) {
        IoError e = from_errno(errno, IoError::OpenFailed);
        io_failure(IoOp::Open, u.name, e == IoError::FileNotFound && status == OpenStatus::Unknown ? IoError::OpenFailed : e);
    }
    std::setvbuf(u.file, nullptr, _IONBF, 0);  // only ever read whole, by load()
}

void close_unit(int unit) {
    Unit& u = at(unit);
    if (!u.file) return;
    flush_unit(u);
    std::fclose(u.file);
    u = Unit{};
}

void rewind_unit(int unit) {
    Unit& u = at(unit);
    if (!u.file) return;
    flush_unit(u);
    u.written = false;
    u.loaded = false;
    u.pos = 0;
    u.line = 0;
    std::rewind(u.file);
}

std::string_view read_record(int unit) {
    Unit& u = at(unit);
    if (!u.file) io_failure(IoOp::Read, u.name, IoError::ReadFailed);
    if (!u.loaded) load(u);
    if (u.pos >= u.content.size()) io_failure(IoOp::Read, u.name, IoError::EndOfFile, end_of_file_detail(u));
    ++u.line;
    size_t start = u.pos;
    size_t lf = u.content.find('\n', start);
    size_t end = lf == std::string::npos ? u.content.size() : lf;
    u.pos = lf == std::string::npos ? u.content.size() : lf + 1;
    std::string_view rec(u.content.data() + start, end - start);
    size_t cr = rec.find('\r');
    return cr == std::string_view::npos ? rec : rec.substr(0, cr);
}

void write_record(int unit, std::string_view text) {
    Unit& u = at(unit);
    if (!u.file) io_failure(IoOp::Write, u.name, IoError::WriteFailed);
    if (!u.written) {
        // The first write cuts the file: a rewritten report holds only this run's records.
        if (!u.writable) make_writable(u);
        std::rewind(u.file);
        if (regular_file(u.file) && ftruncate(fileno(u.file), 0) != 0)
            io_failure(IoOp::Write, u.name, from_errno(errno, IoError::WriteFailed));
        u.written = true;
        u.loaded = false;
    }
    if (std::fwrite(text.data(), 1, text.size(), u.file) != text.size() ||
        std::fwrite("\r\n", 1, 2, u.file) != 2) {
        int err = errno;
        std::clearerr(u.file);
        io_failure(IoOp::Write, u.name, from_errno(err, IoError::WriteFailed));
    }
}

std::string_view unit_name(int unit) { return at(unit).name; }

int record_number(int unit) { return at(unit).line; }

void flush_all_units() {
    for (auto& u : units)
        if (u) flush_unit(*u);
}

void release_all_units() {
    for (auto& u : units) {
        if (u && u->file) {
            std::fflush(u->file);
            std::fclose(u->file);
        }
        u.reset();
    }
}

// Units left open by an earlier in-process run are closed with the run state.
static RunStateReset reset_units(release_all_units);

}  // namespace core
