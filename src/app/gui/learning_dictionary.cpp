// SPDX-License-Identifier: GPL-3.0-or-later
// The lesson window's dictionary files, the "Словарь" page with its search, and the dictionary fonts.

#include "app/gui/form_learning.h"

#include "app/gui/file_dialogs.h"
#include "common/codepage.h"
#include "common/files.h"
#include "common/gui/accessible_names.h"
#include "common/strings.h"
#include "dictionary/dictionary_files.h"
#include "dictionary/gui/dictionary_grid.h"
#include "dictionary/gui/dictionary_navigator.h"
#include "dictionary/gui/dictionary_page.h"
#include "engine/gui/mosaic_page.h"
#include "engine/gui/variant_page.h"
#include "engine/progress_file.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <initializer_list>

namespace vb {

namespace {

const char* const kUnderstood = "понятно";

// A 1251 dictionary given a character 1251 lacks is written as UTF-8 with the byte-order mark.
const char* const kUnicodeNotice =
    "В словаре есть буквы, которых нет в кодировке Windows-1251, поэтому он сохранён в кодировке UTF-8.";
const char* const kSavedAsUnicode =
    "Ваши изменения в словаре успешно сохранены, и так как в нём есть буквы, которых нет в кодировке "
    "Windows-1251, он теперь записан в кодировке UTF-8.";

QString Native(const std::string& path)
{
    return QString::fromStdString(path);
}

} // namespace

// ---------------------------------------------------------------------------------------------------
// Construction

void TForm_Learning::SetUpDictionaryTable()
{
    WorkingCopyPath = m_ctx.paths.WorkingCopy();
    SdfDataSet.SetFileName(WorkingCopyPath);
    SdfDataSet.SetFileMustExist(false);
    SdfDataSet.SetReadOnly(false);
    SdfDataSet.SetDelimiter('|');
    SdfDataSet.SetSchema({"word", "translate", "transcription", "tesaurus"});
    SdfDataSet.events.OnUpdateData = [this] { DataSourceUpdateData(); };
    SdfDataSet.events.AfterDelete = [this] { SdfDataSetAfterDelete(); };
}

void TForm_Learning::CreateHiddenPages()
{
    if (HiddenPagesCreated()) {
        return;
    }
    CreateDictionaryPage();
    CreateTextPage();
    // What happened before the pages existed: the settings loaded, the dictionary changed, a build running.
    ResetTextPage();
    SetDictionaryChanged(m_dictionaryChanged);
    ShowBuildRunning(m_buildRunning);
    for (QWidget* part : std::initializer_list<QWidget*>{PageDictionary, PanelFindWord, PageText, PanelText}) {
        NameForScreenReaders(part);
    }
}

void TForm_Learning::CreateDictionaryPage()
{
    dictionaryPage = new DictionaryPage(SdfDataSet, PageDictionary);
    dictionaryPage->setObjectName(QStringLiteral("DictionaryPage"));
    PageDictionary->layout()->addWidget(dictionaryPage);
    DBGridDict = dictionaryPage->DBGridDict;
    DBNavigator = dictionaryPage->DBNavigator;
    BTopen = dictionaryPage->BTopen;
    BTnew = dictionaryPage->BTnew;
    BTfont = dictionaryPage->BTfont;
    BTsave = dictionaryPage->BTsave;
    BTUndo = dictionaryPage->BTUndo;
    connect(BTopen, &QToolButton::clicked, this, &TForm_Learning::m_dict_openClick);
    connect(BTnew, &QToolButton::clicked, this, &TForm_Learning::m_dict_createClick);
    connect(BTfont, &QToolButton::clicked, this, &TForm_Learning::BTfontClick);
    connect(BTsave, &QToolButton::clicked, this, &TForm_Learning::m_dict_saveClick);
    connect(BTUndo, &QToolButton::clicked, this, &TForm_Learning::m_dict_undoClick);
    connect(DBGridDict, &DictionaryGrid::ColEnter, this, &TForm_Learning::DBGridDictColEnter);
    connect(DBGridDict, &DictionaryGrid::clicked, this, &TForm_Learning::DBGridDictCellClick);

    searchPanel = new DictionarySearchPanel(PanelFindWord);
    searchPanel->setObjectName(QStringLiteral("DictionarySearchPanel"));
    PanelFindWord->layout()->setContentsMargins(0, 0, 0, 0);
    PanelFindWord->layout()->addWidget(searchPanel);
    CBxFieldList = searchPanel->CBxFieldList;
    EdtValue = searchPanel->EdtValue;
    BTfind = searchPanel->BTfind;
    CB_FindCase = searchPanel->CB_FindCase;
    CB_FindPartial = searchPanel->CB_FindPartial;
    EdtValue->clear();
    connect(BTfind, &QToolButton::clicked, this, &TForm_Learning::BTFindClick);
    connect(EdtValue, &QLineEdit::returnPressed, this, &TForm_Learning::BTFindClick);
    connect(CBxFieldList, &QComboBox::activated, this, &TForm_Learning::CBxFieldListChange);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now == EdtValue) {
            EdtValueEnter();
        }
    });
}

void TForm_Learning::DropDictionaryPage()
{
    // Focus changes while the widgets go would reach a half-destroyed window.
    disconnect(qApp, nullptr, this, nullptr);
    delete dictionaryPage;
    dictionaryPage = nullptr;
    DBGridDict = nullptr;
    DBNavigator = nullptr;
}

// ---------------------------------------------------------------------------------------------------
// The changed flag

bool TForm_Learning::DictionaryChanged() const
{
    return m_dictionaryChanged;
}

void TForm_Learning::SetDictionaryChanged(bool changed)
{
    m_dictionaryChanged = changed;
    m_dict_save->setEnabled(changed);
    m_dict_undo->setEnabled(changed);
    if (HiddenPagesCreated()) {
        BTsave->setEnabled(changed);
        BTUndo->setEnabled(changed);
    }
}

void TForm_Learning::DataSourceUpdateData()
{
    SetDictionaryChanged(true);
}

void TForm_Learning::SdfDataSetAfterDelete()
{
    SetDictionaryChanged(true);
}

// ---------------------------------------------------------------------------------------------------
// Opening and saving

bool TForm_Learning::ReloadLessonWords()
{
    // The pages and the answer echo point into the old words; the caller sets the next task.
    TimerPronounceWord->stop();
    TimerPronounceTrsl->stop();
    variantPage->ClearTask();
    mosaicPage->ClearLists();
    // An unreadable file leaves the lesson empty. The files read ahead at start are taken when they are
    // this dictionary's.
    const std::string& path = Settings.DictionaryPath;
    const std::string progressPath = ProgressFilePath(m_ctx.paths.UsersFolder(), PupilName, path);
    if (m_ctx.lessonPreload) {
        if (auto files = m_ctx.lessonPreload->Take(path, progressPath)) {
            return lesson.LoadLessonWords(std::move(*files));
        }
    }
    return lesson.LoadLessonWords(path, progressPath);
}

bool TForm_Learning::OpenDictionaryTable()
{
    std::string bytes;
    if (!LoadWorkingCopy(Settings.DictionaryPath, WorkingCopyPath, bytes)) {
        return false;
    }
    SdfDataSet.Open(std::move(bytes));
    return true;
}

bool TForm_Learning::OpenDictionary(const std::string& path)
{
    // Posted edits go to the working copy, which is about to be replaced anyway.
    if (!SdfDataSet.Close()) {
        SdfDataSet.Discard();
    }
    Settings.DictionaryPath = path;
    // Missing or unreadable: the table stays closed, the lessons have no words, and there is nothing to save
    // (the working copy still holds the previous dictionary).
    const bool opened = OpenDictionaryTable();
    SetDictionaryChanged(false);
    ReloadLessonWords();
    if (!opened) {
        return false;
    }
    if (SettingsLoaded) {
        LoadDictionaryFonts();
    }
    BuildRecentMenu();
    return true;
}

void TForm_Learning::TellDictionaryNotOpened(const std::string& path)
{
    // Otherwise an empty "[0] слов" is all the pupil would see of it.
    m_dialog.ShowMessageDialog("Не удаётся открыть словарь:\n" + path, "", kUnderstood, "");
}

void TForm_Learning::SaveDictionary()
{
    // A working copy that cannot be written holds stale content: saving it would lose the edits.
    const bool written = SdfDataSet.Close();
    if (written && SaveWorkingCopy(WorkingCopyPath, Settings.DictionaryPath)) {
        // Told once: from now on the file is UTF-8 and stays so.
        Notice(SdfDataSet.EncodingChanged() ? kSavedAsUnicode : "Ваши изменения в словаре успешно сохранены!");
        ReloadLessonWords();
        SetDictionaryChanged(false);
    } else {
        // First letter Latin, as the message has always been.
        Notice("Cловарь защищён от изменений!");
    }
    if (!SdfDataSet.Active()) {
        SdfDataSet.Open();
    }
}

bool TForm_Learning::AskSaveChanges()
{
    // A changed record still open in the grid counts as a change, so it is not lost without a question.
    if (DBGridDict) {
        DBGridDict->CommitEdit();
    }
    if (SdfDataSet.Modified()) {
        SdfDataSet.Post();
    }
    if (!DictionaryChanged()) {
        return true;
    }
    const int answer =
        m_dialog.ShowMessageDialog("Словарь был Вами изменён. Сохранить изменения?", "да", "нет", "отменить");
    if (answer == 1) {
        SaveDictionary();
        // Saving reloaded the words and cleared the lesson pages; whatever the caller does next (it may
        // stop at a cancelled file dialog), the page shown gets its task and the status bar its counts.
        PageControlChange();
    }
    return answer != 3;
}

void TForm_Learning::BuildRecentMenu()
{
    // Later, not now: the clicked item of the list may be what runs this.
    for (QAction* item : m_dict_open_list->actions()) {
        m_dict_open_list->removeAction(item);
        item->deleteLater();
    }
    for (QActionGroup* old : m_dict_open_list->findChildren<QActionGroup*>(QString(), Qt::FindDirectChildrenOnly)) {
        old->deleteLater();
    }
    std::string old;
    if (m_ctx.registry->KeyExists(PupilKey)) {
        old = m_ctx.registry->ReadString(PupilKey, "").value_or(std::string());
    }
    const RecentDictionaryList list = BuildRecentList(old, Settings.DictionaryPath);
    RecentDictionaries = list.text;
    // Written into an existing key only; the next settings save writes it anyway.
    m_ctx.registry->WriteString(PupilKey, "", list.text);

    auto* group = new QActionGroup(m_dict_open_list);
    for (const std::string& path : list.paths) {
        QString caption = Native(path);
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* item = m_dict_open_list->addAction(caption);
        item->setData(Native(path));
        item->setCheckable(true);
        item->setChecked(false);
        group->addAction(item);
        connect(item, &QAction::triggered, this, &TForm_Learning::dictClick);
    }
}

QString TForm_Learning::AskDictionaryFile(bool save, const QString& title, const QString& fileName)
{
    FileDialogRequest request;
    request.save = save;
    request.title = title;
    request.filter = QStringLiteral("Словари (*.lqd)");
    request.defaultSuffix = QStringLiteral("lqd");
    request.folder = Native(ParentDir(Settings.DictionaryPath));
    request.fileName = fileName;
    return FileDialogs::GetFileName(this, request);
}

void TForm_Learning::Notice(const char* text)
{
    m_dialog.ShowMessageDialog(text, "", kUnderstood, "");
}

// ---------------------------------------------------------------------------------------------------
// Commands

void TForm_Learning::m_dict_openClick()
{
    if (BuildRunning()) {
        return;
    }
    SaveProgress();
    SecondaryShown();
    QString file;
    if (AskSaveChanges()) {
        file =
            AskDictionaryFile(false, QStringLiteral("Открыть существующий словарь"), Native(Settings.DictionaryPath));
    }
    SecondaryHidden();
    if (!file.isEmpty()) {
        if (!OpenDictionary(file.toStdString())) {
            TellDictionaryNotOpened(file.toStdString());
        }
        PageControlChange();
    }
}

void TForm_Learning::m_dict_createClick()
{
    if (BuildRunning()) {
        return;
    }
    SaveProgress();
    SecondaryShown();
    QString file;
    if (AskSaveChanges()) {
        file = AskDictionaryFile(true, QStringLiteral("Создать новый словарь"), QString());
    }
    SecondaryHidden();
    if (file.isEmpty()) {
        return;
    }
    const std::string path = file.toStdString();
    PrepareNewDictionary(Settings.DictionaryPath, path);
    // The new dictionary is empty; an existing file of that name is truncated.
    WriteFileAtomic(path, {});
    OpenDictionary(path);
    PageControlChange();
}

void TForm_Learning::m_dict_saveasClick()
{
    if (BuildRunning()) {
        return;
    }
    CreateHiddenPages();
    SaveProgress();
    SecondaryShown();
    const QString file = AskDictionaryFile(true, QStringLiteral("Сохранить словарь под новым именем"), QString());
    SecondaryHidden();
    if (file.isEmpty()) {
        return;
    }
    const std::string path = file.toStdString();
    // An edit still open in the grid is dropped; posted ones are in the working copy after closing.
    if (!SdfDataSet.Close()) {
        Notice("Cловарь защищён от изменений!");
        return;
    }
    if (SdfDataSet.EncodingChanged()) {
        Notice(kUnicodeNotice);
    }
    PrepareNewDictionary(Settings.DictionaryPath, path);
    if (!CopyFileOverwrite(WorkingCopyPath, path)) {
        // Nothing was written: the open dictionary and its edits stay as they were.
        Notice("Cловарь защищён от изменений!");
        SdfDataSet.Open();
        return;
    }
    OpenDictionary(path);
    PageControlChange();
}

void TForm_Learning::m_dict_saveClick()
{
    // Commits an edit still open in the grid and marks the table changed; an empty table gets one empty
    // entry.
    CreateHiddenPages();
    DBGridDict->CommitEdit();
    SdfDataSet.Edit();
    SdfDataSet.Post();
    SaveDictionary();
    PageControlChange();
}

void TForm_Learning::m_dict_undoClick()
{
    SaveProgress();
    OpenDictionary(Settings.DictionaryPath);
    // The reload cleared the lesson pages: the page shown needs its task again.
    PageControlChange();
}

void TForm_Learning::dictClick()
{
    if (BuildRunning()) {
        // The open dictionary stays; the item loses its tick.
        for (QAction* item : m_dict_open_list->actions()) {
            item->setChecked(false);
        }
        return;
    }
    SaveProgress();
    const QList<QAction*> items = m_dict_open_list->actions();
    for (QAction* item : items) {
        if (item->isChecked()) {
            item->setChecked(false);
            const std::string path = item->data().toString().toStdString();
            if (AskSaveChanges() && !OpenDictionary(path)) {
                TellDictionaryNotOpened(path);
            }
            break;
        }
    }
    FormShow();
}

// ---------------------------------------------------------------------------------------------------
// The page

void TForm_Learning::ShowDictionaryPage()
{
    CreateHiddenPages();
    if (!m_ctx.settings) {
        return;
    }
    const SettingsWindowValues& values = m_ctx.settings->Values();
    const QString wordFont = Native(values.LB_WordFont);
    const QString trslFont = Native(values.LB_TrslFont);
    dictionaryPage->SetColumnFamily(DictionaryPage::kColWord, wordFont);
    dictionaryPage->SetColumnFamily(DictionaryPage::kColTranslate, trslFont);
    dictionaryPage->SetColumnFamily(DictionaryPage::kColTesaurus, values.RG_TesFontSH == 1 ? trslFont : wordFont);
    dictionaryPage->SetTranscriptionFamily(Native(values.LB_TrscFont));
    searchPanel->SetValueFamily(searchPanel->TranslationChosen() ? trslFont : wordFont);
}

void TForm_Learning::DBGridDictCellClick()
{
    if (ModalClosed) {
        ModalClosed = false;
        PageDictionary->setFocus();
        DBGridDict->setFocus();
    }
}

void TForm_Learning::DBGridDictColEnter()
{
    const int column = std::max(0, DBGridDict->currentIndex().column());
    const std::string& field = dictionaryPage->model->Columns()[static_cast<std::size_t>(column)].field;
    if (field == "word") {
        SwitchKeyboardLayout(false);
    } else if (field == "translate") {
        SwitchKeyboardLayout(true);
    } else if (field == "tesaurus") {
        SwitchKeyboardLayout(m_ctx.settings && m_ctx.settings->Values().RG_TesFontSH == 1);
    }
    // The transcription keeps the layout as it is.
}

void TForm_Learning::EdtValueEnter()
{
    SwitchKeyboardLayout(searchPanel->TranslationChosen());
}

void TForm_Learning::CBxFieldListChange()
{
    if (m_ctx.settings) {
        const SettingsWindowValues& values = m_ctx.settings->Values();
        searchPanel->SetValueFamily(Native(searchPanel->TranslationChosen() ? values.LB_TrslFont : values.LB_WordFont));
    }
    EdtValue->setFocus();
}

void TForm_Learning::BTFindClick()
{
    DBGridDict->CommitEdit();
    const bool found = FindWord(SdfDataSet, CBxFieldList->currentText().toStdString(), EdtValue->text().toStdString(),
                                CB_FindCase->isChecked(), CB_FindPartial->isChecked());
    if (found) {
        DBGridDict->scrollTo(DBGridDict->currentIndex());
        update();
    } else {
        Notice("Слово не найдено!");
    }
}

// ---------------------------------------------------------------------------------------------------
// Dictionary fonts

void TForm_Learning::LoadDictionaryFonts()
{
    if (!m_ctx.settings) {
        return;
    }
    SettingsWindowValues values = m_ctx.settings->Values();
    DictionaryFonts fonts{values.LB_WordFont,        values.LB_WordFontCharset, values.LB_TrslFont,
                          values.LB_TrslFontCharset, values.LB_TrscFont,        values.LB_TrscFontCharset,
                          values.RG_TesFontSH,       values.CBE_Word,           values.CBE_Trsl};
    if (!LoadFontsFile(FontsFilePath(Settings.DictionaryPath), fonts)) {
        return;
    }
    values.LB_WordFont = fonts.wordFont;
    values.LB_WordFontCharset = fonts.wordCharset;
    values.LB_TrslFont = fonts.trslFont;
    values.LB_TrslFontCharset = fonts.trslCharset;
    values.LB_TrscFont = fonts.trscFont;
    values.LB_TrscFontCharset = fonts.trscCharset;
    values.RG_TesFontSH.Set(fonts.tesFontSH);
    values.CBE_Word.Set(fonts.layoutWord);
    values.CBE_Trsl.Set(fonts.layoutTrsl);
    m_ctx.settings->ApplyValues(values);
}

void TForm_Learning::BTfontClick()
{
    if (!m_ctx.settings) {
        return;
    }
    const SettingsWindowValues& values = m_ctx.settings->Values();
    const DictionaryFonts fonts{values.LB_WordFont,        values.LB_WordFontCharset, values.LB_TrslFont,
                                values.LB_TrslFontCharset, values.LB_TrscFont,        values.LB_TrscFontCharset,
                                values.RG_TesFontSH,       values.CBE_Word,           values.CBE_Trsl};
    if (!SaveFontsFile(FontsFilePath(Settings.DictionaryPath), fonts)) {
        Notice("Шрифты защищены от изменений!");
        return;
    }
    Notice("Шрифты успешно сохранены!");
}

} // namespace vb
