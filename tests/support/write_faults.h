// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Failure injection for every part of the program that saves a file: each step of the atomic writer fails
// in turn (create, write, a full disk, sync, flush, rename, a read-only folder).

#include "common/files.h"

#include <functional>
#include <map>
#include <string>

namespace vbtest {

// Fails one step of every atomic write, with the given errno, while it lives.
class InjectedWriteFault
{
public:
    InjectedWriteFault(vb::AtomicWriteStep step, int error);
    ~InjectedWriteFault();
    InjectedWriteFault(const InjectedWriteFault&) = delete;
    InjectedWriteFault& operator=(const InjectedWriteFault&) = delete;
};

// Every file below `folder` with its bytes (folders too): what must not change when a save fails.
std::map<std::string, std::string> FolderSnapshot(const std::string& folder);

// Runs `save` under each injected failure and expects it to report the failure and to leave `folder`
// exactly as it was (old files byte for byte, no temporary file); then expects it to succeed once the
// failures stop, so that no failure left a lock or other state behind. `save` must write something new
// each time it is called.
void ExpectEveryWriteFailureReported(const std::string& folder, const std::function<bool()>& save);

} // namespace vbtest
