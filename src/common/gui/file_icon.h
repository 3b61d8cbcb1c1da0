// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QSize>
#include <QString>

#include <vector>

namespace vb {

struct IconFile
{
    QString path;
    QSize size;
};

// An icon of image files of known sizes that reads a file only when its picture is first asked for: making
// it costs nothing, and a start does not wait for image decoding it may never need.
QIcon LazyFileIcon(const std::vector<IconFile>& files);

} // namespace vb
