// SPDX-License-Identifier: GPL-3.0-or-later
// The dictionary table on arbitrary file bytes: opening, reading every cell, searching, editing and writing
// back must stay inside the buffers, and a line written back from its values reads back as those values.
#include "common/files.h"
#include "common/strings.h"
#include "common/unicode.h"
#include "dictionary/sdf_data.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

const std::string& ScratchFile()
{
    static const std::string path = [] {
        const char* shm = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        return std::string(shm) + "/vb_fuzz_sdf_" + std::to_string(getpid()) + ".lqd";
    }();
    return path;
}

bool OpenTable(vb::TSdfDataSet& table)
{
    table.SetFileName(ScratchFile());
    table.SetFileMustExist(false);
    table.SetDelimiter('|');
    table.SetSchema({"word", "translate", "transcription", "tesaurus"});
    return table.Open();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!vb::WriteFileAtomic(ScratchFile(), bytes)) {
        return 0;
    }
    std::vector<std::vector<std::string>> values;
    {
        vb::TSdfDataSet table;
        if (!OpenTable(table)) {
            std::abort();
        }
        for (int row = 0; row < table.RowCount(); ++row) {
            std::vector<std::string>& v = values.emplace_back();
            for (int f = 0; f < table.FieldCount(); ++f) {
                v.push_back(table.RowFieldValue(row, f));
                if (static_cast<int>(vb::CharCount(v.back())) > table.Field(f).width) {
                    std::abort();
                }
            }
        }
        if (!values.empty()) {
            table.Locate("word,translate", values.back(), {true, true});
            table.Locate("translate", {values.front()[1]}, {false, false});
        }
        // Every record written back from its own values.
        for (int row = 0; row < table.RecordCount(); ++row) {
            table.MoveTo(row);
            table.Edit();
            for (int f = 0; f < table.FieldCount(); ++f) {
                table.SetFieldValue(f, values[static_cast<std::size_t>(row)][static_cast<std::size_t>(f)]);
            }
            table.Post();
        }
        if (!table.Close()) {
            std::abort();
        }
    }
    vb::TSdfDataSet again;
    if (!OpenTable(again) || again.RecordCount() != static_cast<int>(values.size())) {
        std::abort();
    }
    for (int row = 0; row < again.RecordCount(); ++row) {
        const auto& before = values[static_cast<std::size_t>(row)];
        // A backtick inside a value has no escape: such lines may read back differently.
        bool plain = true;
        for (const std::string& v : before) {
            plain = plain && v.find('`') == std::string::npos;
        }
        for (int f = 0; plain && f < again.FieldCount(); ++f) {
            if (again.RowFieldValue(row, f) != vb::TrimControl(before[static_cast<std::size_t>(f)])) {
                std::abort();
            }
        }
    }
    again.Close();
    return 0;
}
