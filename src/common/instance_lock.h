// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The single-instance guard: an OS lock on a file, held for the life of the process and released by the
// kernel when the process dies, so no stale lock is ever left behind.

#include <string>

namespace vb {

class InstanceLock
{
public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this process now holds the lock; false when another process holds it ("already exists").
    // A lock file that cannot be created at all counts as held by us, so the program still starts.
    bool Acquire(const std::string& lockFilePath);
    void Release();

private:
#ifdef _WIN32
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
};

} // namespace vb
