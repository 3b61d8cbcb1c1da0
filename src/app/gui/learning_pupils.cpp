// SPDX-License-Identifier: GPL-3.0-or-later
// The pupil menu and the pupils' commands of the lesson window.

#include "app/gui/form_learning.h"

#include "app/gui/form_user.h"
#include "app/gui/learning_startup.h"
#include "common/pupils.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace vb {

namespace {

// A name is shown as it is: "&" would otherwise turn the next letter into a keyboard accelerator.
QString MenuCaption(const std::string& name)
{
    return QString::fromStdString(name).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

std::string PupilOf(const QAction* item)
{
    return item->data().toString().toStdString();
}

} // namespace

// ---------------------------------------------------------------------------------------------------
// Pupils

void TForm_Learning::BuildPupilMenu()
{
    if (m_lesson_pupil_group == nullptr) {
        m_lesson_pupil_group = new QActionGroup(this);
        m_lesson_pupil_group->setObjectName(QStringLiteral("m_lesson_pupil_group"));
        m_lesson_pupil_group->setExclusive(true);
    }
    // The items may be rebuilt from inside one of their own click handlers, so they go later.
    for (QAction* item : m_lesson_pupil_group->actions()) {
        m_lesson_pupil_group->removeAction(item);
        m_lesson_pupil->removeAction(item);
        item->deleteLater();
    }
    m_lesson_pupil_delete->setEnabled(false);

    setWindowTitle(QString::fromStdString(PupilCaption("Verbanta", PupilName)));

    for (const std::string& name : ListedPupils(m_ctx.registry->ListSubkeys(AppContext::kRootKey))) {
        m_lesson_pupil_delete->setEnabled(true);
        auto* item = new QAction(MenuCaption(name), m_lesson_pupil);
        item->setData(QString::fromStdString(name));
        item->setCheckable(true);
        item->setChecked(SamePupil(name, PupilName));
        m_lesson_pupil_group->addAction(item);
        m_lesson_pupil->addAction(item);
        connect(item, &QAction::triggered, this, &TForm_Learning::usrClick);
    }
}

void TForm_Learning::SetPupil(const std::string& name)
{
    PupilName = name;
    PupilKey = PupilKeyOf(name);
    // His own list: nothing of the previous pupil's list may be written into his key.
    RecentDictionaries = m_ctx.registry->ReadString(PupilKey, "").value_or(std::string());
}

void TForm_Learning::SavePupilSettings()
{
    SaveLearningSettings(true);
    SaveSettings();
    SaveCardSettings();
}

void TForm_Learning::LoadPupilSettings()
{
    // Also rebuilds the pupil menu and opens the dictionary again.
    LoadLearningSettings();
    if (m_ctx.settings) {
        m_ctx.settings->LoadSettings();
    }
    if (m_ctx.card) {
        m_ctx.card->LoadCardSettings();
    }
}

void TForm_Learning::m_lesson_pupil_newClick()
{
    if (BuildRunning()) {
        return;
    }
    if (AskSaveChanges() && m_ctx.user) {
        m_ctx.user->ShowModalUser();
    }
    ModalWasClosed();
}

TForm_User::Hooks TForm_Learning::UserWindowHooks()
{
    TForm_User::Hooks hooks;
    hooks.window = SecondaryHooks();
    hooks.savePupil = [this](const std::string& name) { NewPupilSaved(name); };
    hooks.restartLesson = [this] {
        LoadLearningSettings();
        PageControlChange();
    };
    return hooks;
}

void TForm_Learning::NewPupilSaved(const std::string& name)
{
    SavePupilSettings();
    if (!name.empty()) {
        // A pupil of that name (in any case) keeps his key, his progress and his spelling of it.
        m_ctx.registry->CreateKey(PupilKeyOf(name));
        SetPupil(name);
        // A copy of the current settings with an empty recent list; no progress is written for him yet.
        SaveLearningSettings(false);
        SaveSettings();
        SaveCardSettings();
    }
    BuildPupilMenu();
}

void TForm_Learning::m_lesson_pupil_deleteClick()
{
    if (BuildRunning()) {
        return;
    }
    if (!AskSaveChanges() || IsDefaultPupil(PupilName)) {
        return;
    }
    const int answer = m_dialog.ShowMessageDialog("Ученик \"" + PupilName + "\" отучился?", "отучился", "", "нет ещё");
    if (answer != 1) {
        return;
    }
    // His progress folder stays: the progress is his work and he may come back.
    m_ctx.registry->DeleteKey(PupilKey);

    std::string next = kDefaultPupil;
    if (m_lesson_pupil_group) {
        for (QAction* item : m_lesson_pupil_group->actions()) {
            if (SamePupil(PupilOf(item), PupilName)) {
                m_lesson_pupil_group->removeAction(item);
                m_lesson_pupil->removeAction(item);
                item->deleteLater();
            }
        }
        const QList<QAction*> left = m_lesson_pupil_group->actions();
        if (!left.isEmpty()) {
            next = PupilOf(left.front());
            left.front()->setChecked(true);
        }
    }
    SetPupil(next);
    LoadPupilSettings();
    FormShow();
}

void TForm_Learning::usrClick()
{
    if (BuildRunning() || !AskSaveChanges()) {
        // Ticks the current pupil again.
        BuildPupilMenu();
        return;
    }
    QAction* ticked = m_lesson_pupil_group ? m_lesson_pupil_group->checkedAction() : nullptr;
    if (ticked == nullptr) {
        return;
    }
    const std::string name = PupilOf(ticked);
    SavePupilSettings();
    SetPupil(name);
    LoadPupilSettings();
    FormShow();
}

} // namespace vb
