// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// File helpers. Paths are native strings (UTF-8 on Linux). Failures are reported as return values.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace vb {

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Creates the folder and its missing parents.
bool MakeDirectories(const std::string& path);

// The read-only mark is the file's write permission bits: a file is read-only when none of them is set.
// It is checked from the bits, never by trying to open: root may write anyway.
bool IsReadOnly(const std::string& path);
bool SetReadOnly(const std::string& path, bool readOnly);
// Clears the read-only mark (and any other special mark).
bool SetAttributesNormal(const std::string& path);

// Reads a whole file. Returns false (and leaves `out` empty) when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& out);

// Asks the system to back a big buffer not yet written with large pages, so that filling it takes far
// fewer page faults. Only advice: without it the memory works the same.
void PreferLargePages(void* data, std::size_t size);

// Writes `data` to a temporary file in the target's folder, flushes it to disk and renames it over the
// target, so that a crash or a full disk leaves the old file whole. The target keeps its permission bits
// when it existed. Returns false, with the target untouched, on any failure.
bool WriteFileAtomic(const std::string& path, std::string_view data);
// The same without waiting for the disk: the old file or the new one, whole, stays in place for every
// reader, but a system crash may leave either or an empty one. For copies made again from their source
// whenever they are used.
bool WriteScratchFileAtomic(const std::string& path, std::string_view data);

// Copies `from` over `to` (atomically, as above). False when `from` cannot be read or `to` not written,
// and, as the system's file copy does, when `to` exists and is read-only. Like that copy, the result is
// read-only when `from` is; an existing `to` otherwise keeps its permission bits.
bool CopyFileOverwrite(const std::string& from, const std::string& to);

// Removes a file, read-only or not.
bool RemoveFile(const std::string& path);

// Appends one whole line (ending in its own line break) to a file, creating it if needed, with a single
// write at the end of the file so that a crash leaves either the whole line or none of it. The one kind of
// file that grows in place: rewriting it for every line would cost more than the line. A line torn before
// is closed first; a failed append cuts off whatever part got through and returns false. The atomic
// writer's failure seam applies to its create, write, sync and flush steps.
bool AppendFileLine(const std::string& path, std::string_view line);

// The steps of an atomic write, in the order they run: create the temporary file, write the data, sync it
// to the disk, flush it (its close, where some file systems report a delayed write error), rename it over
// the target.
enum class AtomicWriteStep { Create, Write, Sync, Flush, Rename };

// A seam for failure tests: when set, the atomic writer asks it before each step for the target `path`
// and fails that step with the errno it returns (0: the step runs). A failed Write has written part of
// the data first, as a disk that fills up does. An empty function removes the seam.
using AtomicWriteFault = std::function<int(AtomicWriteStep step, const std::string& path)>;
void SetAtomicWriteFault(AtomicWriteFault fault);
#ifdef _WIN32
// Paths are UTF-8 here too; the wide Windows API gets them in UTF-16. Invalid input gives an empty string.
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);
#endif

} // namespace vb
