// SPDX-License-Identifier: GPL-3.0-or-later
#include "write_faults.h"

#include "temp_home.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

namespace vbtest {

InjectedWriteFault::InjectedWriteFault(vb::AtomicWriteStep step, int error)
{
    vb::SetAtomicWriteFault([step, error](vb::AtomicWriteStep s, const std::string&) { return s == step ? error : 0; });
}

InjectedWriteFault::~InjectedWriteFault()
{
    vb::SetAtomicWriteFault({});
}

std::map<std::string, std::string> FolderSnapshot(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
        files[e.path().string()] = e.is_regular_file() ? ReadBytes(e.path().string()) : std::string("<folder>");
    }
    return files;
}

void ExpectEveryWriteFailureReported(const std::string& folder, const std::function<bool()>& save)
{
    struct Fault
    {
        vb::AtomicWriteStep step;
        int error;
        const char* what;
    };
    static const Fault kFaults[] = {
        {vb::AtomicWriteStep::Create, EACCES, "create"}, {vb::AtomicWriteStep::Create, EROFS, "read-only folder"},
        {vb::AtomicWriteStep::Write, EIO, "write"},      {vb::AtomicWriteStep::Write, ENOSPC, "disk full"},
        {vb::AtomicWriteStep::Sync, EIO, "sync"},        {vb::AtomicWriteStep::Flush, EIO, "flush"},
        {vb::AtomicWriteStep::Rename, EIO, "rename"},
    };
    for (const Fault& fault : kFaults) {
        SCOPED_TRACE(fault.what);
        const auto before = FolderSnapshot(folder);
        {
            InjectedWriteFault injected(fault.step, fault.error);
            EXPECT_FALSE(save());
        }
        EXPECT_EQ(FolderSnapshot(folder), before);
    }
    EXPECT_TRUE(save());
}

} // namespace vbtest
