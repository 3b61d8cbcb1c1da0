// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/files.h"

#include "common/strings.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vb {

namespace {

AtomicWriteFault& Fault()
{
    static AtomicWriteFault fault;
    return fault;
}

// True when the seam fails this step; errno is then set as a real failure would set it.
bool Injected(AtomicWriteStep step, const std::string& path)
{
    const AtomicWriteFault& fault = Fault();
    if (!fault) {
        return false;
    }
    const int error = fault(step, path);
    if (error == 0) {
        return false;
    }
    errno = error;
    return true;
}

} // namespace

void SetAtomicWriteFault(AtomicWriteFault fault)
{
    Fault() = std::move(fault);
}

#ifndef _WIN32

namespace {

constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr mode_t kPermissionBits = 07777;

bool StatPath(const std::string& path, struct stat& st)
{
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

bool ChangeMode(const std::string& path, mode_t mode)
{
    return ::chmod(path.c_str(), mode) == 0;
}

bool WriteAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// A name no other writer uses at the same moment: process id, a per-process counter and a random part.
std::string TempNameFor(const std::string& folder, const std::string& name)
{
    static std::atomic<unsigned> counter{0};
    static thread_local std::minstd_rand random{std::random_device{}()};
    std::string temp = folder;
    temp += kPathSeparator;
    temp += '.';
    temp += name;
    temp += ".tmp";
    temp += std::to_string(::getpid());
    temp += '-';
    temp += std::to_string(counter.fetch_add(1));
    temp += '-';
    temp += std::to_string(random() % 100000);
    return temp;
}

// The process id in a temporary name of `name` made by TempNameFor, or 0 when `entry` is no such name.
pid_t TempOwner(std::string_view entry, const std::string& name)
{
    const std::string prefix = "." + name + ".tmp";
    if (entry.substr(0, prefix.size()) != prefix) {
        return 0;
    }
    entry.remove_prefix(prefix.size());
    long long numbers[3] = {};
    for (int i = 0; i < 3; ++i) {
        std::size_t digits = 0;
        while (digits < entry.size() && digits < 12 && entry[digits] >= '0' && entry[digits] <= '9') {
            numbers[i] = numbers[i] * 10 + (entry[digits] - '0');
            ++digits;
        }
        if (digits == 0) {
            return 0;
        }
        entry.remove_prefix(digits);
        if (i < 2) {
            if (entry.empty() || entry.front() != '-') {
                return 0;
            }
            entry.remove_prefix(1);
        }
    }
    return entry.empty() && numbers[0] <= INT_MAX ? static_cast<pid_t>(numbers[0]) : 0;
}

// A writer killed between creating its temporary file and renaming it leaves that file behind; the next
// write of the same target removes it once its process is gone. A live writer's file is left alone.
void RemoveStaleTemps(const std::string& folder, const std::string& name)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) {
        return;
    }
    const pid_t self = ::getpid();
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t owner = TempOwner(entry->d_name, name);
        if (owner > 0 && owner != self && ::kill(owner, 0) != 0 && errno == ESRCH) {
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
        }
    }
    ::closedir(dir);
}

// The file that a write to `path` really replaces: a symbolic link is followed, so it stays a link.
std::string ResolveTarget(const std::string& path)
{
    struct stat st
    { };
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            std::string resolved = real;
            std::free(real);
            return resolved;
        }
    }
    return path;
}

// The folder to create the temporary file in: "." for a bare name, the root for a file directly below it.
std::string FolderOf(const std::string& path)
{
    const auto sep = path.rfind(kPathSeparator);
    if (sep == std::string::npos) {
        return ".";
    }
    return path.substr(0, sep == 0 ? 1 : sep);
}

// `mode`: the permission bits of the new file; without it an existing target keeps its own, a new file gets
// the usual ones for the user's umask.
bool WriteAtomic(const std::string& requestedPath, std::string_view data, std::optional<mode_t> mode,
                 bool durable = true)
{
    if (requestedPath.empty()) {
        return false;
    }
    const std::string path = ResolveTarget(requestedPath);
    const std::string folder = FolderOf(path);
    const std::string name = FileNameOnly(path, true);
    if (name.empty()) {
        return false;
    }

    struct stat st
    { };
    if (StatPath(path, st)) {
        if (S_ISDIR(st.st_mode)) {
            return false;
        }
        if (!mode) {
            mode = st.st_mode & 0777;
        }
    }

    if (Injected(AtomicWriteStep::Create, path)) {
        return false;
    }
    std::string tempPath;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        tempPath = TempNameFor(folder, name);
        // 0666 lets the umask decide for a new file, as any other program's file would get.
        fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            return false;
        }
    }
    if (fd < 0) {
        return false;
    }

    bool ok;
    if (Fault() && !data.empty() && Injected(AtomicWriteStep::Write, path)) {
        // Half the data reaches the file before the disk is full.
        const int error = errno;
        WriteAll(fd, data.substr(0, data.size() / 2));
        errno = error;
        ok = false;
    } else {
        ok = WriteAll(fd, data);
    }
    ok = ok && (!mode || ::fchmod(fd, *mode) == 0);
    ok = ok && !Injected(AtomicWriteStep::Sync, path) && (!durable || ::fsync(fd) == 0);
    ok = (::close(fd) == 0) && ok;
    ok = ok && !Injected(AtomicWriteStep::Flush, path);
    ok = ok && !Injected(AtomicWriteStep::Rename, path) && ::rename(tempPath.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(tempPath.c_str());
        return false;
    }
    // Makes the rename itself durable; a failure here no longer endangers either version.
    const int dirFd = durable ? ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    RemoveStaleTemps(folder, name);
    return true;
}

} // namespace

bool FileExists(const std::string& path)
{
    struct stat st
    { };
    return StatPath(path, st) && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path)
{
    struct stat st
    { };
    return StatPath(path, st) && S_ISDIR(st.st_mode);
}

bool MakeDirectories(const std::string& path)
{
    if (path.empty()) {
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return DirectoryExists(path);
}

bool IsReadOnly(const std::string& path)
{
    struct stat st
    { };
    return StatPath(path, st) && (st.st_mode & kWriteBits) == 0;
}

bool SetReadOnly(const std::string& path, bool readOnly)
{
    struct stat st
    { };
    if (!StatPath(path, st)) {
        return false;
    }
    const mode_t bits = st.st_mode & kPermissionBits;
    return ChangeMode(path, readOnly ? (bits & ~kWriteBits) : (bits | S_IWUSR));
}

bool SetAttributesNormal(const std::string& path)
{
    struct stat st
    { };
    if (!StatPath(path, st)) {
        return false;
    }
    const mode_t bits = (st.st_mode & 0777) | S_IWUSR;
    return ChangeMode(path, bits);
}

bool ReadWholeFile(const std::string& path, std::string& out)
{
    out.clear();
    if (path.empty()) {
        return false;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat st
    { };
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return false;
    }
    // Read straight into the string, in the size the file has now; a file that grows meanwhile is
    // read to its end all the same, and one that shrinks gives what it still holds.
    std::string data;
    std::size_t used = 0;
    const std::size_t expected =
        S_ISREG(st.st_mode) && st.st_size > 0 ? static_cast<std::size_t>(st.st_size) + 1 : 65536;
    data.reserve(expected);
    PreferLargePages(data.data(), expected);
    data.resize(expected);
    for (;;) {
        if (used == data.size()) {
            data.resize(data.size() * 2);
        }
        const ssize_t n = ::read(fd, data.data() + used, data.size() - used);
        if (n == 0) {
            break;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            ::close(fd);
            return false;
        }
        used += static_cast<std::size_t>(n);
    }
    data.resize(used);
    ::close(fd);
    out = std::move(data);
    return true;
}

bool WriteFileAtomic(const std::string& path, std::string_view data)
{
    return WriteAtomic(path, data, std::nullopt);
}

bool WriteScratchFileAtomic(const std::string& path, std::string_view data)
{
    return WriteAtomic(path, data, std::nullopt, false);
}

bool CopyFileOverwrite(const std::string& from, const std::string& to)
{
    struct stat source
    { };
    if (!StatPath(from, source)) {
        return false;
    }
    // As the system's file copy does, a read-only target is not overwritten; saving relies on that refusal.
    if (IsReadOnly(to)) {
        return false;
    }
    std::string data;
    if (!ReadWholeFile(from, data)) {
        return false;
    }
    // An existing target keeps its bits; a new one takes the source's. A copy of a read-only file is
    // read-only itself.
    struct stat target
    { };
    mode_t mode = StatPath(to, target) ? (target.st_mode & 0777) : (source.st_mode & 0777);
    if ((source.st_mode & kWriteBits) == 0) {
        mode &= ~kWriteBits;
    }
    return WriteAtomic(to, data, mode);
}

bool RemoveFile(const std::string& path)
{
    return !path.empty() && ::unlink(path.c_str()) == 0;
}

void PreferLargePages(void* data, std::size_t size)
{
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t kLarge = std::uintptr_t{1} << 21;
    const auto from = (reinterpret_cast<std::uintptr_t>(data) + kLarge - 1) & ~(kLarge - 1);
    const auto to = (reinterpret_cast<std::uintptr_t>(data) + size) & ~(kLarge - 1);
    if (to > from) {
        // Only advice: where it is refused, the memory works as before.
        ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
    }
#else
    (void)data;
    (void)size;
#endif
}

#else // _WIN32

void PreferLargePages(void*, std::size_t) { }

// Windows: the read-only mark is the file attribute, and the atomic replace is MoveFileEx, which refuses
// to replace a read-only file, so the mark is lifted around it and put back.

std::wstring Utf8ToWide(std::string_view utf8)
{
    if (utf8.empty() || utf8.size() > INT_MAX) {
        return std::wstring();
    }
    const int n =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (n <= 0) {
        return std::wstring();
    }
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string WideToUtf8(std::wstring_view wide)
{
    if (wide.empty() || wide.size() > INT_MAX) {
        return std::string();
    }
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) {
        return std::string();
    }
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

namespace {

DWORD AttributesOf(const std::string& path)
{
    const std::wstring wide = Utf8ToWide(path);
    return wide.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(wide.c_str());
}

bool SetAttributes(const std::string& path, DWORD attributes)
{
    // Zero means "no change" to the API; a file without special marks is "normal".
    return SetFileAttributesW(Utf8ToWide(path).c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL) != 0;
}

bool WriteAll(HANDLE h, std::string_view data)
{
    while (!data.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(h, data.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        data.remove_prefix(written);
    }
    return true;
}

std::size_t LastSeparator(const std::string& path)
{
    return path.find_last_of("\\/");
}

// The folder to create the temporary file in: "." for a bare name, "C:\\" for a file directly below a root.
std::string FolderOf(const std::string& path)
{
    const auto sep = LastSeparator(path);
    if (sep == std::string::npos) {
        return ".";
    }
    if (sep == 0 || (sep == 2 && path[1] == ':')) {
        return path.substr(0, sep + 1);
    }
    return path.substr(0, sep);
}

std::string TempNameFor(const std::string& folder, const std::string& name)
{
    static std::atomic<unsigned> counter{0};
    static thread_local std::minstd_rand random{std::random_device{}()};
    std::string temp = folder;
    if (temp.back() != '\\' && temp.back() != '/') {
        temp += '\\';
    }
    temp += '.';
    temp += name;
    temp += ".tmp";
    temp += std::to_string(GetCurrentProcessId());
    temp += '-';
    temp += std::to_string(counter.fetch_add(1));
    temp += '-';
    temp += std::to_string(random() % 100000);
    return temp;
}

// `readOnly`: the mark of the new file; without it an existing target keeps its own, a new file has none.
bool WriteAtomic(const std::string& path, std::string_view data, std::optional<bool> readOnly, bool durable = true)
{
    const auto sep = LastSeparator(path);
    const std::string name = sep == std::string::npos ? path : path.substr(sep + 1);
    if (path.empty() || name.empty()) {
        return false;
    }
    const DWORD old = AttributesOf(path);
    const bool existed = old != INVALID_FILE_ATTRIBUTES;
    if (existed && (old & FILE_ATTRIBUTE_DIRECTORY)) {
        return false;
    }
    if (!readOnly) {
        readOnly = existed && (old & FILE_ATTRIBUTE_READONLY);
    }

    const std::string folder = FolderOf(path);
    std::string tempPath;
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && h == INVALID_HANDLE_VALUE; ++attempt) {
        tempPath = TempNameFor(folder, name);
        if (Injected(AtomicWriteStep::Create, path)) {
            return false;
        }
        h = CreateFileW(Utf8ToWide(tempPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                        nullptr);
        if (h == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) {
            return false;
        }
    }
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    const std::wstring wideTemp = Utf8ToWide(tempPath);
    const std::wstring widePath = Utf8ToWide(path);

    bool ok = !Injected(AtomicWriteStep::Write, path) && WriteAll(h, data);
    ok = ok && !Injected(AtomicWriteStep::Sync, path) && (!durable || FlushFileBuffers(h));
    ok = CloseHandle(h) && ok && !Injected(AtomicWriteStep::Flush, path);
    const bool unmarked = ok && existed && (old & FILE_ATTRIBUTE_READONLY) &&
                          SetFileAttributesW(widePath.c_str(), old & ~FILE_ATTRIBUTE_READONLY);
    ok = ok && !Injected(AtomicWriteStep::Rename, path) &&
         MoveFileExW(wideTemp.c_str(), widePath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        DeleteFileW(wideTemp.c_str());
        if (unmarked) {
            SetFileAttributesW(widePath.c_str(), old);
        }
        return false;
    }
    if (*readOnly) {
        SetAttributes(path, AttributesOf(path) | FILE_ATTRIBUTE_READONLY);
    }
    return true;
}

} // namespace

bool FileExists(const std::string& path)
{
    const DWORD a = AttributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path)
{
    const DWORD a = AttributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeDirectories(const std::string& path)
{
    const std::wstring wide = Utf8ToWide(path);
    if (wide.empty()) {
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(wide), ec);
    return DirectoryExists(path);
}

bool IsReadOnly(const std::string& path)
{
    const DWORD a = AttributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
}

bool SetReadOnly(const std::string& path, bool readOnly)
{
    const DWORD a = AttributesOf(path);
    if (a == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    return SetAttributes(path, readOnly ? (a | FILE_ATTRIBUTE_READONLY) : (a & ~FILE_ATTRIBUTE_READONLY));
}

bool SetAttributesNormal(const std::string& path)
{
    return AttributesOf(path) != INVALID_FILE_ATTRIBUTES && SetAttributes(path, FILE_ATTRIBUTE_NORMAL);
}

bool ReadWholeFile(const std::string& path, std::string& out)
{
    out.clear();
    const std::wstring wide = Utf8ToWide(path);
    if (wide.empty()) {
        return false;
    }
    // Others may keep writing or even replace the file meanwhile, as they may on Linux.
    HANDLE h = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    std::string data;
    char buffer[65536];
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(h, buffer, sizeof buffer, &n, nullptr)) {
            CloseHandle(h);
            return false;
        }
        if (n == 0) {
            break;
        }
        data.append(buffer, n);
    }
    CloseHandle(h);
    out = std::move(data);
    return true;
}

bool WriteFileAtomic(const std::string& path, std::string_view data)
{
    return WriteAtomic(path, data, std::nullopt);
}

bool WriteScratchFileAtomic(const std::string& path, std::string_view data)
{
    return WriteAtomic(path, data, std::nullopt, false);
}

bool CopyFileOverwrite(const std::string& from, const std::string& to)
{
    if (!FileExists(from) || IsReadOnly(to)) {
        return false;
    }
    std::string data;
    if (!ReadWholeFile(from, data)) {
        return false;
    }
    return WriteAtomic(to, data, IsReadOnly(from));
}

bool RemoveFile(const std::string& path)
{
    const DWORD a = AttributesOf(path);
    if (a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_DIRECTORY)) {
        return false;
    }
    // As on Linux, the read-only mark protects a file's contents, not its entry in the folder.
    if ((a & FILE_ATTRIBUTE_READONLY) && !SetAttributes(path, a & ~FILE_ATTRIBUTE_READONLY)) {
        return false;
    }
    if (!DeleteFileW(Utf8ToWide(path).c_str())) {
        SetAttributes(path, a);
        return false;
    }
    return true;
}

#endif

#ifndef _WIN32

bool AppendFileLine(const std::string& path, std::string_view line)
{
    if (line.empty() || Injected(AtomicWriteStep::Create, path)) {
        return false;
    }
    bool created = false;
    int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
        created = true;
    } else if (errno == EEXIST) {
        fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CLOEXEC);
    }
    if (fd < 0) {
        return false;
    }
    struct stat st
    { };
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return false;
    }
    const off_t before = st.st_size;
    // A line torn by a crash must not swallow the next one: start on a fresh line.
    std::string data;
    char last = '\n';
    if (before > 0 && ::pread(fd, &last, 1, before - 1) != 1) {
        last = '\n';
    }
    if (last != '\n') {
        data.push_back('\n');
    }
    data.append(line);

    bool ok;
    if (Fault() && Injected(AtomicWriteStep::Write, path)) {
        const int error = errno;
        [[maybe_unused]] const ssize_t n = ::write(fd, data.data(), data.size() / 2);
        errno = error;
        ok = false;
    } else {
        // One write of the whole line: appends of O_APPEND land whole at the end, never interleaved.
        const ssize_t n = ::write(fd, data.data(), data.size());
        ok = n == static_cast<ssize_t>(data.size());
    }
    ok = ok && !Injected(AtomicWriteStep::Sync, path) && ::fsync(fd) == 0;
    ok = ok && !Injected(AtomicWriteStep::Flush, path);
    if (!ok) {
        // Whatever part of the line got through is cut off again, so the earlier lines end the file.
        const int error = errno;
        [[maybe_unused]] const int t = ::ftruncate(fd, before);
        if (created) {
            ::unlink(path.c_str());
        }
        errno = error;
    }
    ok = (::close(fd) == 0) && ok;
    return ok;
}

#else

bool AppendFileLine(const std::string& path, std::string_view line)
{
    if (line.empty() || line.size() > 0x7fffffff || Injected(AtomicWriteStep::Create, path)) {
        return false;
    }
    HANDLE h = CreateFileW(Utf8ToWide(path).c_str(), FILE_APPEND_DATA | FILE_READ_DATA | FILE_WRITE_DATA,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool created = GetLastError() != ERROR_ALREADY_EXISTS;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(h, &size)) {
        CloseHandle(h);
        return false;
    }
    std::string data;
    char last = '\n';
    if (size.QuadPart > 0) {
        LARGE_INTEGER at{};
        at.QuadPart = size.QuadPart - 1;
        DWORD got = 0;
        if (!SetFilePointerEx(h, at, nullptr, FILE_BEGIN) || !ReadFile(h, &last, 1, &got, nullptr) || got != 1) {
            last = '\n';
        }
    }
    if (last != '\n') {
        data.push_back('\n');
    }
    data.append(line);
    LARGE_INTEGER end{};
    SetFilePointerEx(h, end, nullptr, FILE_END);
    DWORD written = 0;
    bool ok;
    if (Fault() && Injected(AtomicWriteStep::Write, path)) {
        WriteFile(h, data.data(), static_cast<DWORD>(data.size() / 2), &written, nullptr);
        ok = false;
    } else {
        ok = WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) && written == data.size();
    }
    ok = ok && !Injected(AtomicWriteStep::Sync, path) && FlushFileBuffers(h);
    ok = ok && !Injected(AtomicWriteStep::Flush, path);
    if (!ok) {
        SetFilePointerEx(h, size, nullptr, FILE_BEGIN);
        SetEndOfFile(h);
    }
    ok = CloseHandle(h) && ok;
    if (!ok && created) {
        DeleteFileW(Utf8ToWide(path).c_str());
    }
    return ok;
}

#endif

} // namespace vb
