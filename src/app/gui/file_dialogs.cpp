// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/file_dialogs.h"

#include <QFileDialog>

#include <deque>

namespace vb {

namespace {

struct TestHooks
{
    std::deque<QString> answers;
    std::function<QString(const FileDialogRequest&)> answerer;
    FileDialogRequest last;
    int count = 0;
};

TestHooks& Hooks()
{
    static TestHooks hooks;
    return hooks;
}

} // namespace

QString FileDialogs::GetFileName(QWidget* parent, const FileDialogRequest& request)
{
    TestHooks& hooks = Hooks();
    hooks.last = request;
    ++hooks.count;
    if (!hooks.answers.empty()) {
        QString answer = hooks.answers.front();
        hooks.answers.pop_front();
        return answer;
    }
    if (hooks.answerer) {
        return hooks.answerer(request);
    }
    QFileDialog dialog(parent, request.title, request.folder, request.filter);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty()) {
        dialog.selectFile(request.fileName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

void FileDialogs::SetNextFileName(const QString& fileName)
{
    Hooks().answers.push_back(fileName);
}

void FileDialogs::SetAnswerer(std::function<QString(const FileDialogRequest&)> answerer)
{
    Hooks().answerer = std::move(answerer);
}

const FileDialogRequest& FileDialogs::LastRequest()
{
    return Hooks().last;
}

int FileDialogs::DialogCount()
{
    return Hooks().count;
}

void FileDialogs::ResetTestHooks()
{
    Hooks() = TestHooks{};
}

} // namespace vb
