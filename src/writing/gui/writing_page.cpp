// SPDX-License-Identifier: GPL-3.0-or-later
#include "writing/gui/writing_page.h"

#include "common/codepage.h"
#include "engine/lesson_control.h"
#include "writing/gui/platform_keyboard_layouts.h"

#include <QCheckBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace vb {

namespace {

// The answer and the hint line are read letter by letter: larger than the window's text.
constexpr int kAnswerPointSize = 14;
// The speed caption is long; it is set smaller, down to this size, rather than cut off.
constexpr int kSmallestCaptionPointSize = 6;
// Room the group box's frame leaves around its title.
constexpr int kCaptionMargin = 24;

QString Show(const std::string& text)
{
    return QString::fromStdString(text);
}

void SetFamily(QWidget* widget, const QString& family)
{
    if (!widget || family.isEmpty()) {
        return;
    }
    QFont font = widget->font();
    font.setFamily(family);
    widget->setFont(font);
}

QCheckBox* MakeOption(QWidget* parent, const char* name, const QString& caption, bool checked)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(checked);
    return box;
}

char SystemDecimalPoint()
{
    const QString point = QLocale::system().decimalPoint();
    return point.size() == 1 && point.at(0).unicode() < 0x80 ? static_cast<char>(point.at(0).unicode()) : '.';
}

} // namespace

WritingPage::WritingPage(Lesson& lesson, Clock& clock, QWidget* parent)
    : QWidget(parent), m_lesson(lesson), m_exercise(lesson, clock), m_layouts(MakePlatformKeyboardLayouts())
{
    setObjectName(QStringLiteral("WritingPage"));
    m_exercise.Meter.DecimalPoint = SystemDecimalPoint();

    Enter_Area = new QLineEdit(this);
    Enter_Area->setObjectName(QStringLiteral("Enter_Area"));
    Enter_Area->setAccessibleName(QStringLiteral("Ответ"));
    Enter_Area->setAccessibleDescription(QStringLiteral("Напишите ответ на задание и нажмите Enter"));
    QFont answerFont = Enter_Area->font();
    answerFont.setPointSize(kAnswerPointSize);
    Enter_Area->setFont(answerFont);
    Enter_Area->installEventFilter(this);

    Enter_Error = new QLabel(this);
    Enter_Error->setObjectName(QStringLiteral("Enter_Error"));
    Enter_Error->setTextFormat(Qt::PlainText);
    Enter_Error->setFont(answerFont);
    Enter_Error->setContentsMargins(4, 2, 4, 2);
    Enter_Error->setMinimumHeight(Enter_Area->sizeHint().height());
    QPalette palette = Enter_Error->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    Enter_Error->setPalette(palette);
    Enter_Error->setAutoFillBackground(true);

    GBox_Enter_Set = new QGroupBox(this);
    GBox_Enter_Set->setObjectName(QStringLiteral("GBox_Enter_Set"));
    GBox_Enter_Set->installEventFilter(this);
    const WritingOptions defaults;
    CB_Len = MakeOption(GBox_Enter_Set, "CB_Len", QStringLiteral("Показывать длину слова"), defaults.CB_Len);
    CB_First = MakeOption(GBox_Enter_Set, "CB_First", QStringLiteral("Показывать первую букву"), defaults.CB_First);
    CB_Letter =
        MakeOption(GBox_Enter_Set, "CB_Letter", QStringLiteral("Подсказывать букву при ошибке"), defaults.CB_Letter);
    CB_Word = MakeOption(GBox_Enter_Set, "CB_Word", QStringLiteral("Подсказывать слово при ошибке"), defaults.CB_Word);
    CB_RusLat = MakeOption(GBox_Enter_Set, "CB_RusLat", QStringLiteral("Автоматически переключать клавиатуру"),
                           defaults.CB_RusLat);
    CB_Auto = MakeOption(GBox_Enter_Set, "CB_Auto", QStringLiteral("Автоввод правильного слова"), defaults.CB_Auto);
    CB_Case =
        MakeOption(GBox_Enter_Set, "CB_Case", QStringLiteral("Чувствительность к регистру букв"), defaults.CB_Case);
    CB_Speed =
        MakeOption(GBox_Enter_Set, "CB_Speed", QStringLiteral("Показывать скорость набора слов"), defaults.CB_Speed);
    auto* grid = new QGridLayout(GBox_Enter_Set);
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(2);
    const QCheckBox* const order[] = {CB_Len, CB_First, CB_Letter, CB_Word, CB_RusLat, CB_Auto, CB_Case, CB_Speed};
    for (int i = 0; i < 8; ++i) {
        grid->addWidget(const_cast<QCheckBox*>(order[i]), i % 4, i / 4);
    }
    // The options keep the window's font when the caption's font shrinks.
    QFont optionFont = font();
    // Set, not inherited: only a size marked as set stays when the parent's changes.
    optionFont.setPointSizeF(optionFont.pointSizeF());
    for (QCheckBox* option : {CB_Len, CB_First, CB_Letter, CB_Word, CB_RusLat, CB_Auto, CB_Case, CB_Speed}) {
        option->setFont(optionFont);
    }
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    column->addWidget(Enter_Area);
    column->addWidget(Enter_Error);
    column->addWidget(GBox_Enter_Set);
    column->addStretch(1);

    connect(Enter_Area, &QLineEdit::textChanged, this, &WritingPage::Enter_AreaChange);
    for (QCheckBox* hintOption : {CB_Len, CB_First, CB_Letter, CB_Word}) {
        connect(hintOption, &QCheckBox::toggled, this, &WritingPage::CB_LenClick);
    }
    connect(CB_Speed, &QCheckBox::toggled, this, &WritingPage::CB_SpeedClick);
    for (QCheckBox* option : {CB_Len, CB_First, CB_Letter, CB_Word, CB_RusLat, CB_Auto, CB_Case, CB_Speed}) {
        connect(option, &QCheckBox::toggled, this, &WritingPage::OptionToggled);
    }
    m_exercise.Options = Options();
}

void WritingPage::SetKeyboardLayouts(std::unique_ptr<KeyboardLayouts> layouts)
{
    m_layouts = layouts ? std::move(layouts) : std::make_unique<NoKeyboardLayouts>();
}

void WritingPage::SetFontFamilies(const QString& word, const QString& translation, const QString& transcription)
{
    m_wordFamily = word;
    m_translationFamily = translation;
    m_transcription = TranscriptionDisplay::For(transcription);
}

void WritingPage::SetTaskLabels(QLabel* word, QLabel* wordtrsc)
{
    m_word = word;
    m_wordtrsc = wordtrsc;
}

WritingOptions WritingPage::Options() const
{
    WritingOptions o;
    o.CB_Len = CB_Len->isChecked();
    o.CB_First = CB_First->isChecked();
    o.CB_Letter = CB_Letter->isChecked();
    o.CB_Word = CB_Word->isChecked();
    o.CB_RusLat = CB_RusLat->isChecked();
    o.CB_Auto = CB_Auto->isChecked();
    o.CB_Case = CB_Case->isChecked();
    o.CB_Speed = CB_Speed->isChecked();
    return o;
}

void WritingPage::SetOptions(const WritingOptions& o)
{
    // setChecked runs the handlers through `toggled` only when the state changes.
    CB_Len->setChecked(o.CB_Len);
    CB_First->setChecked(o.CB_First);
    CB_Letter->setChecked(o.CB_Letter);
    CB_Word->setChecked(o.CB_Word);
    CB_RusLat->setChecked(o.CB_RusLat);
    CB_Auto->setChecked(o.CB_Auto);
    CB_Case->setChecked(o.CB_Case);
    CB_Speed->setChecked(o.CB_Speed);
}

void WritingPage::SetEnterTask(const WritingSettings& settings)
{
    if (!window()->isVisible()) {
        return;
    }
    m_settings = settings;
    m_exercise.Options = Options();

    // Until there is a task the strip stays empty and the hint line blank.
    if (m_word) {
        m_word->hide();
    }
    if (m_wordtrsc) {
        m_wordtrsc->hide();
    }
    Enter_Error->clear();
    const EnterTaskView& view = m_exercise.SetEnterTask(settings);
    // A task close with a speed rewrites the caption.
    ShowCaption();

    // Fonts keep their sizes; only the family follows the language shown.
    SetFamily(m_word, view.taskIsWord ? m_wordFamily : m_translationFamily);
    SetFamily(m_wordtrsc, m_transcription.Family());
    const QString& answerFamily = view.answerIsWord ? m_wordFamily : m_translationFamily;
    SetFamily(Enter_Area, answerFamily);
    SetFamily(Enter_Error, answerFamily);
    if (!view.ready) {
        return;
    }

    if (m_word) {
        m_word->setText(Show(view.taskText));
        m_word->setVisible(view.showTask);
    }
    if (m_wordtrsc) {
        m_wordtrsc->setText(m_transcription.Text(Show(view.taskTranscription)));
        m_wordtrsc->setVisible(view.showTaskTranscription);
    }
    emit PronounceRequested(view.pronounceText, view.taskIsWord);

    {
        // The new task's hint line follows below, once.
        const QSignalBlocker quiet(Enter_Area);
        Enter_Area->clear();
    }
    Enter_Area->setFocus();
    emit SwitchLayoutRequested(!view.answerIsWord);
    UpdateEnterHint();
}

void WritingPage::UpdateEnterHint()
{
    if (auto line = m_exercise.UpdateEnterHint(Typed())) {
        Enter_Error->setText(Show(*line));
        ShowCaption();
    }
}

void WritingPage::pm_hintClick()
{
    if (m_exercise.View().ready) {
        Enter_Error->setText(Show(ExpectedAnswer(m_lesson)));
    }
}

void WritingPage::wordMouseEnter()
{
    const EnterTaskView& view = m_exercise.View();
    if (view.ready && m_wordtrsc) {
        m_wordtrsc->setVisible(
            TaskTranscriptionVisible(m_settings.visual, view.taskIsWord, m_settings.RG_Transc, true));
    }
}

void WritingPage::wordMouseLeave()
{
    const EnterTaskView& view = m_exercise.View();
    if (view.ready && m_wordtrsc) {
        m_wordtrsc->setVisible(
            TaskTranscriptionVisible(m_settings.visual, view.taskIsWord, m_settings.RG_Transc, false));
    }
}

bool WritingPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == GBox_Enter_Set && event->type() == QEvent::Resize) {
        FitCaption();
    }
    if (watched == Enter_Area && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Enter_AreaKeyPress();
        }
    }
    // The key goes on to the edit as it came.
    return QWidget::eventFilter(watched, event);
}

void WritingPage::Enter_AreaChange()
{
    std::optional<std::string> hint;
    const EnterAnswer answer = m_exercise.Enter_AreaChange(Typed(), hint);
    if (hint) {
        Enter_Error->setText(Show(*hint));
        ShowCaption();
    }
    if (answer == EnterAnswer::Right) {
        emit Answered(true);
    }
}

void WritingPage::Enter_AreaKeyPress()
{
    const EnterAnswer answer = m_exercise.Enter_AreaKeyPress(Typed());
    if (answer != EnterAnswer::None) {
        emit Answered(answer == EnterAnswer::Right);
    }
}

void WritingPage::CB_LenClick()
{
    m_exercise.Options = Options();
    UpdateEnterHint();
}

void WritingPage::CB_SpeedClick()
{
    m_exercise.Options = Options();
    m_exercise.Meter.ResetSpeedStats();
    ShowCaption();
}

void WritingPage::OptionToggled()
{
    m_exercise.Options = Options();
    emit OptionsChanged();
}

void WritingPage::ShowCaption()
{
    const QString caption = QString::fromStdString(m_exercise.Meter.Caption());
    if (caption != GBox_Enter_Set->title()) {
        GBox_Enter_Set->setTitle(caption);
        GBox_Enter_Set->setToolTip(caption);
        FitCaption();
    }
}

void WritingPage::FitCaption()
{
    QFont captionFont = font();
    const QString caption = GBox_Enter_Set->title();
    const int room = GBox_Enter_Set->width() - kCaptionMargin;
    while (captionFont.pointSize() > kSmallestCaptionPointSize &&
           QFontMetrics(captionFont).horizontalAdvance(caption) > room) {
        captionFont.setPointSize(captionFont.pointSize() - 1);
    }
    if (captionFont != GBox_Enter_Set->font()) {
        GBox_Enter_Set->setFont(captionFont);
    }
}

std::string WritingPage::Typed() const
{
    return Enter_Area->text().toStdString();
}

} // namespace vb
