// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The standard open and save dialogs, with test hooks so GUI tests never block on them.

#include <QString>

#include <functional>

class QWidget;

namespace vb {

struct FileDialogRequest
{
    bool save = false;
    QString title;
    // "Словари (*.lqd)" and the like.
    QString filter;
    QString defaultSuffix;
    QString folder;
    QString fileName;
};

class FileDialogs
{
public:
    // Shows the dialog modally. Returns the chosen file, empty when cancelled. The save dialog asks before
    // overwriting a file.
    static QString GetFileName(QWidget* parent, const FileDialogRequest& request);

    // Test hooks: each queued answer (an empty one cancels) is returned by one later call without showing
    // anything.
    static void SetNextFileName(const QString& fileName);
    // Asked when no answer is queued, instead of showing a dialog.
    static void SetAnswerer(std::function<QString(const FileDialogRequest&)> answerer);
    static const FileDialogRequest& LastRequest();
    static int DialogCount();
    static void ResetTestHooks();
};

} // namespace vb
