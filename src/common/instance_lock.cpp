// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/instance_lock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include "common/files.h"
#include "common/strings.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace vb {

InstanceLock::~InstanceLock()
{
    Release();
}

#ifdef _WIN32

bool InstanceLock::Acquire(const std::string& lockFilePath)
{
    (void)lockFilePath; // the named mutex needs no file
    if (m_handle) {
        return true;
    }
    HANDLE h = CreateMutexA(nullptr, FALSE, "Verbanta");
    const DWORD error = GetLastError();
    if (h && error == ERROR_ALREADY_EXISTS) {
        CloseHandle(h);
        return false;
    }
    // A mutex that cannot be created at all does not keep the program from starting.
    m_handle = h;
    return true;
}

void InstanceLock::Release()
{
    if (m_handle) {
        CloseHandle(static_cast<HANDLE>(m_handle));
        m_handle = nullptr;
    }
}

#else

bool InstanceLock::Acquire(const std::string& lockFilePath)
{
    if (m_fd >= 0) {
        return true;
    }
    const std::string folder = ParentDir(lockFilePath);
    if (folder != lockFilePath && !folder.empty()) {
        MakeDirectories(folder);
    }
    // Close-on-exec, so that a program started from here (the help viewer) does not inherit the lock.
    const int fd = ::open(lockFilePath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        return true;
    }
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const bool heldElsewhere = errno == EWOULDBLOCK;
        ::close(fd);
        return !heldElsewhere;
    }
    m_fd = fd;
    return true;
}

void InstanceLock::Release()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

#endif

} // namespace vb
