// SPDX-License-Identifier: GPL-3.0-or-later
#include "convert/gui/import_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace vb {

namespace {

std::function<bool(ImportDialog&)>& TestAnswer()
{
    static std::function<bool(ImportDialog&)> answer;
    return answer;
}

const char* const kRoleNames[] = {"—", "слово", "перевод", "транскрипция", "примечание"};
const CsvColumn kRoles[] = {CsvColumn::Skip, CsvColumn::Word, CsvColumn::Translation, CsvColumn::Transcription,
                            CsvColumn::Note};

struct SeparatorChoice
{
    const char* name;
    char separator;
};
const SeparatorChoice kSeparators[] = {
    {"авто", 0}, {"табуляция", '\t'}, {"запятая", ','}, {"точка с запятой", ';'}, {"«|»", '|'}};

QString FormatName(VocabFormat format)
{
    switch (format) {
    case VocabFormat::Lqd:
        return QStringLiteral("словарь Verbanta");
    case VocabFormat::Kvtml:
        return QStringLiteral("KVTML");
    case VocabFormat::Csv:
        return QStringLiteral("таблица CSV");
    case VocabFormat::Tsv:
        return QStringLiteral("таблица TSV");
    case VocabFormat::Dict:
        return QStringLiteral("словарь DICT");
    case VocabFormat::Unknown:
        break;
    }
    return QStringLiteral("неизвестный формат");
}

} // namespace

struct ImportDialog::Result
{
    ReadOutcome outcome;
    ReadDetails details;
};

ImportDialog::ImportDialog(const QString& path, QWidget* parent)
    : QDialog(parent), m_path(path.toStdString()), m_format(FormatFromPath(m_path))
{
    setObjectName(QStringLiteral("ImportDialog"));
    setWindowTitle(QStringLiteral("Импорт словаря"));
    auto* layout = new QVBoxLayout(this);
    m_caption = new QLabel(QStringLiteral("%1 (%2)").arg(QFileInfo(path).fileName(), FormatName(m_format)), this);
    layout->addWidget(m_caption);

    m_mapping = new QWidget(this);
    m_mappingLayout = new QVBoxLayout(m_mapping);
    m_mappingLayout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_mapping);

    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 100);
    layout->addWidget(m_progress);

    m_preview = new QTableWidget(0, 4, this);
    m_preview->setObjectName(QStringLiteral("ImportPreview"));
    m_preview->setHorizontalHeaderLabels({QStringLiteral("Слово"), QStringLiteral("Перевод"),
                                          QStringLiteral("Транскрипция"), QStringLiteral("Примечание")});
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_preview->horizontalHeader()->setStretchLastSection(true);
    m_preview->verticalHeader()->setDefaultSectionSize(m_preview->fontMetrics().height() + 6);
    layout->addWidget(m_preview, 1);

    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("ImportCount"));
    layout->addWidget(m_count);

    m_buttons = new QDialogButtonBox(this);
    m_ok = m_buttons->addButton(QStringLiteral("Импортировать"), QDialogButtonBox::AcceptRole);
    m_buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(m_buttons);
    resize(760, 560);

    StartReading();
}

ImportDialog::~ImportDialog()
{
    JoinWorker();
}

void ImportDialog::SetTestAnswer(std::function<bool(ImportDialog&)> answer)
{
    TestAnswer() = std::move(answer);
}

void ImportDialog::JoinWorker()
{
    if (m_worker.joinable()) {
        m_worker.join();
    }
}

ConvertOptions ImportDialog::CurrentOptions() const
{
    ConvertOptions options = m_options;
    if (m_separator) {
        options.csv.separator = kSeparators[std::max(0, m_separator->currentIndex())].separator;
    }
    if (m_header) {
        options.csv.headerRow = m_header->isChecked();
    }
    if (!m_columnBoxes.empty()) {
        options.csv.columns.clear();
        for (QComboBox* box : m_columnBoxes) {
            options.csv.columns.push_back(kRoles[std::max(0, box->currentIndex())]);
        }
    }
    if (m_wordLanguage && m_wordLanguage->currentIndex() >= 0) {
        options.kvtml.wordId = m_wordLanguage->currentData().toString().toStdString();
        options.kvtml.translationId =
            m_translationLanguage ? m_translationLanguage->currentData().toString().toStdString() : std::string();
    }
    return options;
}

void ImportDialog::StartReading()
{
    JoinWorker();
    m_options = CurrentOptions();
    m_reading = true;
    const int generation = ++m_generation;
    m_progress->setValue(0);
    m_progress->show();
    m_mapping->setEnabled(false);
    m_ok->setEnabled(false);
    m_count->setText(QStringLiteral("Чтение..."));
    const std::string path = m_path;
    const VocabFormat format = m_format;
    const ConvertOptions options = m_options;
    // The file is read away from the window's thread; progress and the result come back as queued calls.
    m_worker = std::thread([this, path, format, options, generation] {
        auto result = std::make_shared<Result>();
        int shown = -1;
        const auto progress = [&](int percent) {
            if (percent / 5 != shown / 5) {
                shown = percent;
                QMetaObject::invokeMethod(
                    this, [this, percent] { m_progress->setValue(percent); }, Qt::QueuedConnection);
            }
        };
        result->outcome = ReadVocabularyFile(path, format, options, progress, &result->details);
        QMetaObject::invokeMethod(
            this, [this, result, generation] { ReadingDone(result, generation); }, Qt::QueuedConnection);
    });
}

void ImportDialog::ReadingDone(const std::shared_ptr<Result>& result, int generation)
{
    if (generation != m_generation) {
        return;
    }
    JoinWorker();
    m_reading = false;
    m_progress->hide();
    m_entries = std::move(result->outcome.entries);
    m_error = result->outcome.error;
    m_details = result->details;
    if (!m_mappingBuilt && m_error.empty()) {
        BuildMapping();
    }
    m_mapping->setEnabled(true);
    ShowPreview();
}

void ImportDialog::BuildMapping()
{
    m_mappingBuilt = true;
    if (m_format == VocabFormat::Csv || m_format == VocabFormat::Tsv) {
        auto* row = new QHBoxLayout();
        row->addWidget(new QLabel(QStringLiteral("Разделитель:"), m_mapping));
        m_separator = new QComboBox(m_mapping);
        for (const auto& choice : kSeparators) {
            m_separator->addItem(QString::fromUtf8(choice.name));
        }
        for (int i = 1; i < static_cast<int>(std::size(kSeparators)); ++i) {
            if (kSeparators[i].separator == m_details.separator) {
                m_separator->setItemText(0, QStringLiteral("авто (%1)").arg(QString::fromUtf8(kSeparators[i].name)));
            }
        }
        row->addWidget(m_separator);
        m_header = new QCheckBox(QStringLiteral("Первая строка - заголовок"), m_mapping);
        row->addWidget(m_header);
        row->addStretch(1);
        m_mappingLayout->addLayout(row);

        auto* columns = new QHBoxLayout();
        const std::size_t count = std::clamp<std::size_t>(m_details.columns, 1, 12);
        for (std::size_t c = 0; c < count; ++c) {
            columns->addWidget(new QLabel(QStringLiteral("%1:").arg(c + 1), m_mapping));
            auto* box = new QComboBox(m_mapping);
            box->setObjectName(QStringLiteral("ImportColumn%1").arg(c + 1));
            for (const char* name : kRoleNames) {
                box->addItem(QString::fromUtf8(name));
            }
            const CsvColumn role = c < m_options.csv.columns.size() ? m_options.csv.columns[c] : CsvColumn::Skip;
            box->setCurrentIndex(
                static_cast<int>(std::find(std::begin(kRoles), std::end(kRoles), role) - std::begin(kRoles)));
            columns->addWidget(box);
            m_columnBoxes.push_back(box);
            connect(box, &QComboBox::currentIndexChanged, this, &ImportDialog::StartReading);
        }
        columns->addStretch(1);
        m_mappingLayout->addWidget(new QLabel(QStringLiteral("Столбцы таблицы:"), m_mapping));
        m_mappingLayout->addLayout(columns);
        connect(m_separator, &QComboBox::currentIndexChanged, this, &ImportDialog::StartReading);
        connect(m_header, &QCheckBox::toggled, this, &ImportDialog::StartReading);
    } else if (m_format == VocabFormat::Kvtml) {
        auto* form = new QFormLayout();
        m_wordLanguage = new QComboBox(m_mapping);
        m_translationLanguage = new QComboBox(m_mapping);
        m_translationLanguage->addItem(QStringLiteral("(нет)"), QString());
        const KvtmlInfo& info = m_details.kvtml;
        for (std::size_t i = 0; i < info.identifierIds.size(); ++i) {
            const QString id = QString::fromStdString(info.identifierIds[i]);
            const QString name = QString::fromStdString(info.identifierNames[i]);
            m_wordLanguage->addItem(name, id);
            m_translationLanguage->addItem(name, id);
        }
        m_translationLanguage->setCurrentIndex(info.identifierIds.size() > 1 ? 2 : 0);
        form->addRow(QStringLiteral("Слово:"), m_wordLanguage);
        form->addRow(QStringLiteral("Перевод:"), m_translationLanguage);
        m_mappingLayout->addLayout(form);
        connect(m_wordLanguage, &QComboBox::currentIndexChanged, this, &ImportDialog::StartReading);
        connect(m_translationLanguage, &QComboBox::currentIndexChanged, this, &ImportDialog::StartReading);
    } else {
        m_mappingLayout->addWidget(
            new QLabel(m_format == VocabFormat::Dict
                           ? QStringLiteral("Заглавное слово - слово, первое значение - перевод, /МФА/ - транскрипция, "
                                            "остальные значения - примечание.")
                           : QStringLiteral("Слово, перевод, транскрипция и примечание берутся из словаря."),
                       m_mapping));
    }
}

void ImportDialog::ShowPreview()
{
    const int rows = static_cast<int>(std::min<std::size_t>(m_entries.size(), kPreviewRows));
    m_preview->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        const VocabEntry& e = m_entries[static_cast<std::size_t>(r)];
        int c = 0;
        for (const std::string* value : {&e.word, &e.translation, &e.transcription, &e.note}) {
            m_preview->setItem(r, c++, new QTableWidgetItem(QString::fromStdString(*value)));
        }
    }
    m_preview->resizeColumnsToContents();
    for (int c = 0; c < 3; ++c) {
        m_preview->setColumnWidth(c, std::min(m_preview->columnWidth(c), 220));
    }
    if (!m_error.empty()) {
        m_count->setText(QString::fromStdString(m_error));
    } else {
        m_count->setText(QStringLiteral("Записей: %1").arg(m_entries.size()));
    }
    m_ok->setEnabled(m_error.empty() && !m_entries.empty());
}

bool ImportDialog::WaitForRead(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (m_reading && timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return !m_reading;
}

bool ImportDialog::Run()
{
    if (TestAnswer()) {
        WaitForRead();
        return TestAnswer()(*this) && m_error.empty() && !m_entries.empty();
    }
    return exec() == QDialog::Accepted && m_error.empty() && !m_entries.empty();
}

} // namespace vb
