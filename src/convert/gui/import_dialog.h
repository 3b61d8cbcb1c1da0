// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// "Импорт словаря": reads a vocabulary file on a worker thread with a progress bar, shows its first 20
// entries, the entry count and the column mapping (table columns, KVTML languages); changing the mapping
// reads the file again.

#include "convert/converter.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <thread>
#include <vector>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QVBoxLayout;
class QWidget;

namespace vb {

class ImportDialog : public QDialog
{
    Q_OBJECT

public:
    ImportDialog(const QString& path, QWidget* parent = nullptr);
    ~ImportDialog() override;

    // Shows the dialog modally (or lets the test hook answer once the file has been read); true when the
    // pupil chose to import and there is something to import.
    bool Run();

    const std::vector<VocabEntry>& Entries() const { return m_entries; }
    const std::string& Error() const { return m_error; }
    bool IsReading() const { return m_reading; }
    // Spins the event loop until the current read is over; for tests.
    bool WaitForRead(int timeoutMs = 10000);

    QTableWidget* Preview() const { return m_preview; }
    QLabel* CountLabel() const { return m_count; }
    QComboBox* SeparatorBox() const { return m_separator; }
    QCheckBox* HeaderBox() const { return m_header; }
    const std::vector<QComboBox*>& ColumnBoxes() const { return m_columnBoxes; }
    QComboBox* WordLanguageBox() const { return m_wordLanguage; }
    QComboBox* TranslationLanguageBox() const { return m_translationLanguage; }

    // Test hook: when set, Run() shows nothing and returns its answer once the file has been read.
    static void SetTestAnswer(std::function<bool(ImportDialog&)> answer);

    static constexpr int kPreviewRows = 20;

private:
    struct Result;

    void StartReading();
    void ReadingDone(const std::shared_ptr<Result>& result, int generation);
    void BuildMapping();
    void ShowPreview();
    ConvertOptions CurrentOptions() const;
    void JoinWorker();

    std::string m_path;
    VocabFormat m_format;
    ConvertOptions m_options;
    ReadDetails m_details;
    std::vector<VocabEntry> m_entries;
    std::string m_error;
    bool m_reading = false;
    bool m_mappingBuilt = false;
    int m_generation = 0;
    std::thread m_worker;

    QLabel* m_caption = nullptr;
    QWidget* m_mapping = nullptr;
    QVBoxLayout* m_mappingLayout = nullptr;
    QComboBox* m_separator = nullptr;
    QCheckBox* m_header = nullptr;
    std::vector<QComboBox*> m_columnBoxes;
    QComboBox* m_wordLanguage = nullptr;
    QComboBox* m_translationLanguage = nullptr;
    QProgressBar* m_progress = nullptr;
    QTableWidget* m_preview = nullptr;
    QLabel* m_count = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace vb
