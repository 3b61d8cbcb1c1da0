// SPDX-License-Identifier: GPL-3.0-or-later
// The lesson window's import and export of vocabularies in other programs' formats.

#include "app/gui/form_learning.h"

#include "app/gui/file_dialogs.h"
#include "common/files.h"
#include "common/strings.h"
#include "convert/converter.h"
#include "convert/gui/import_dialog.h"

#include <QDir>
#include <QFileInfo>

#include <cstring>

namespace vb {

void TForm_Learning::m_dict_importClick()
{
    SaveProgress();
    SecondaryShown();
    QString source;
    if (AskSaveChanges()) {
        FileDialogRequest request;
        request.title = QStringLiteral("Импорт словаря");
        request.filter = QStringLiteral("Словари других программ (*.index *.dict.dz *.kvtml *.csv *.tsv *.lqd);;"
                                        "Все файлы (*)");
        request.folder = QString::fromStdString(ParentDir(Settings.DictionaryPath));
        source = FileDialogs::GetFileName(this, request);
    }
    if (source.isEmpty()) {
        SecondaryHidden();
        return;
    }
    if (FormatFromPath(source.toStdString()) == VocabFormat::Unknown) {
        SecondaryHidden();
        m_dialog.ShowMessageDialog("Формат файла не распознан: нужен .index или .dict.dz (DICT), .kvtml, .csv, .tsv "
                                   "или .lqd.",
                                   "", "понятно", "");
        return;
    }
    std::vector<VocabEntry> entries;
    {
        ImportDialog dialog(source, this);
        if (!dialog.Run()) {
            SecondaryHidden();
            return;
        }
        entries = dialog.Entries();
    }
    // The imported dictionary is a new file beside the source, under a name the pupil confirms.
    QFileInfo info(source);
    QString base = info.fileName();
    for (const char* ext : {".dict.dz", ".index", ".dict", ".kvtml", ".csv", ".tsv", ".lqd"}) {
        if (base.endsWith(QLatin1String(ext), Qt::CaseInsensitive)) {
            base.chop(static_cast<int>(std::strlen(ext)));
            break;
        }
    }
    const QString target = AskDictionaryFile(true, QStringLiteral("Сохранить импортированный словарь"),
                                             info.dir().filePath(base + QStringLiteral(".lqd")));
    SecondaryHidden();
    if (target.isEmpty()) {
        return;
    }
    std::string error;
    if (!WriteVocabularyFile(target.toStdString(), VocabFormat::Lqd, entries, {}, error)) {
        m_dialog.ShowMessageDialog(error, "", "понятно", "");
        return;
    }
    OpenDictionary(target.toStdString());
    SelectPage(kPageDictionary);
    PageControlChange();
}

void TForm_Learning::m_dict_exportClick()
{
    // The export takes what the table holds.
    CreateHiddenPages();
    SaveProgress();
    SecondaryShown();
    FileDialogRequest request;
    request.save = true;
    request.title = QStringLiteral("Экспорт словаря");
    request.filter = QStringLiteral("KVTML (*.kvtml);;Таблица CSV (*.csv);;Таблица TSV (*.tsv);;Словари (*.lqd)");
    request.defaultSuffix = QStringLiteral("kvtml");
    request.folder = QString::fromStdString(ParentDir(Settings.DictionaryPath));
    request.fileName = QString::fromStdString(FileNameOnly(Settings.DictionaryPath, false)) + QStringLiteral(".kvtml");
    const QString target = FileDialogs::GetFileName(this, request);
    SecondaryHidden();
    if (target.isEmpty()) {
        return;
    }
    const VocabFormat format = FormatFromPath(target.toStdString());
    if (format == VocabFormat::Unknown || format == VocabFormat::Dict) {
        m_dialog.ShowMessageDialog("Формат не понятен по расширению: нужен .kvtml, .csv, .tsv или .lqd.", "", "понятно",
                                   "");
        return;
    }
    // What the grid shows, unsaved edits included: the working copy once the table has written it.
    if (!SdfDataSet.Close()) {
        // The table keeps its lines; nothing is exported from an unwritten working copy.
        m_dialog.ShowMessageDialog("Правки словаря не удаётся записать в рабочую копию, экспорт не выполнен.", "",
                                   "понятно", "");
        return;
    }
    std::string bytes;
    const bool read = ReadWholeFile(WorkingCopyPath, bytes);
    SdfDataSet.Open();
    PageControlChange();
    std::string error;
    if (!read) {
        error = WorkingCopyPath + ": файл не читается";
    } else if (WriteVocabularyFile(target.toStdString(), format, ReadLqd(bytes).entries, {}, error)) {
        return;
    }
    m_dialog.ShowMessageDialog(error, "", "понятно", "");
}

} // namespace vb
