// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/pupils.h"

#include "common/codepage.h"
#include "common/strings.h"

#include <filesystem>
#include <system_error>

namespace vb {

std::string CleanPupilName(std::string_view typed)
{
    return TrimControl(CleanPunctuationUtf8(typed));
}

bool SamePupil(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && LowerCaseUtf8(a) == LowerCaseUtf8(b);
}

bool IsDefaultPupil(std::string_view name)
{
    return SamePupil(name, kDefaultPupil);
}

std::string PupilCaption(std::string_view title, std::string_view pupil)
{
    std::string caption(title);
    if (!IsDefaultPupil(pupil)) {
        caption += " [ ";
        caption += pupil;
        caption += " ]";
    }
    return caption;
}

std::vector<std::string> ListedPupils(const std::vector<std::string>& subkeys)
{
    std::vector<std::string> pupils;
    for (const std::string& name : subkeys) {
        if (!IsDefaultPupil(name)) {
            pupils.push_back(name);
        }
    }
    return pupils;
}

std::string PupilFolder(const std::string& usersFolder, const std::string& pupil)
{
    const std::string exact = usersFolder + kPathSeparator + pupil;
    std::error_code ec;
    if (pupil.empty() || std::filesystem::is_directory(exact, ec)) {
        return exact;
    }
    std::filesystem::directory_iterator it(usersFolder, ec);
    const std::filesystem::directory_iterator end;
    for (; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (SamePupil(name, pupil) && it->is_directory(ec)) {
            return usersFolder + kPathSeparator + name;
        }
    }
    return exact;
}

} // namespace vb
