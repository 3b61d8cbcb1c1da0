// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/gui/variant_page.h"

#include "common/codepage.h"
#include "engine/lesson_control.h"

#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QVBoxLayout>

#include <algorithm>

namespace vb {

namespace {

constexpr int kFontPointSize = 10;
constexpr int kRowHeight = 24;
constexpr int kRowSpacing = 2;
// Text inset at both ends of a row.
constexpr int kRowPadding = 6;
// Room for the row's number before its text, and the number's size.
constexpr int kDigitSpace = 12;
constexpr int kDigitLeft = 2;
constexpr int kDigitPointSize = 7;
// The transcription starts this far after the answer text.
constexpr int kTranscriptionGap = 5;

QString RowName(const char* prefix, int n)
{
    return QString::fromLatin1(prefix) + QString::number(n).rightJustified(2, QLatin1Char('0'));
}

QLabel* MakeLabel(QWidget* parent, const QString& name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    // Dictionary texts are shown as they are, never as markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

// An answer row: its text, with its number, the key that chooses it, in a small quiet digit at the left.
class VariantRow : public QLabel
{
public:
    VariantRow(QWidget* parent, int number) : QLabel(parent), m_number(QString::number(number)) { }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QLabel::paintEvent(event);
        QPainter painter(this);
        QFont small = QApplication::font();
        small.setPointSize(kDigitPointSize);
        painter.setFont(small);
        // Half way between the background and the usual text, so that it never competes with the answer.
        const QPalette& colors = QApplication::palette();
        const QColor text = colors.color(QPalette::WindowText);
        const QColor back = colors.color(QPalette::Window);
        painter.setPen(
            QColor((text.red() + back.red()) / 2, (text.green() + back.green()) / 2, (text.blue() + back.blue()) / 2));
        painter.drawText(QRect(kDigitLeft, 0, kDigitSpace, height()), Qt::AlignLeft | Qt::AlignVCenter, m_number);
    }

private:
    QString m_number;
};

void SetTextColor(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

QColor ColorOf(RowColor color)
{
    switch (color) {
    case RowColor::Shadow:
        return QApplication::palette().color(QPalette::Active, QPalette::Shadow);
    case RowColor::Red:
        return QColor(Qt::red);
    case RowColor::Blue:
        return QColor(Qt::blue);
    case RowColor::Black:
    default:
        return QColor(Qt::black);
    }
}

QString Show(const std::string& text)
{
    return QString::fromStdString(text);
}

QFont FontOf(const QString& family)
{
    QFont font;
    if (!family.isEmpty()) {
        font.setFamily(family);
    }
    font.setPointSize(kFontPointSize);
    // Set explicitly, so that a label never takes the bold or strike-out of the row it lies on.
    font.setBold(false);
    font.setStrikeOut(false);
    return font;
}

void SetFamily(QWidget* widget, const QFont& from)
{
    QFont font = widget->font();
    font.setFamily(from.family());
    widget->setFont(font);
}

} // namespace

VariantPage::VariantPage(Lesson& lesson, QWidget* parent)
    : QWidget(parent)
    , m_lesson(lesson)
    , m_wordFont(FontOf(QStringLiteral("Arial")))
    , m_translationFont(FontOf(QStringLiteral("Arial")))
    , m_transcriptionFont(FontOf(QString()))
{
    setObjectName(QStringLiteral("VariantPage"));
    // The page takes the answer keys while it has the focus.
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Варианты ответа"));
    setAccessibleDescription(QStringLiteral(
        "Клавиши 1-7 выбирают ответ; стрелки вверх и вниз выделяют строку, Enter или пробел выбирают её"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(kRowSpacing);

    for (int i = 0; i < kVariantRows; ++i) {
        Row& row = m_rows[static_cast<std::size_t>(i)];
        row.var = new VariantRow(this, i + 1);
        row.var->setObjectName(RowName("var", i + 1));
        row.var->setTextFormat(Qt::PlainText);
        row.var->setAccessibleDescription(QStringLiteral("клавиша %1").arg(i + 1));
        row.var->setFixedHeight(kRowHeight);
        row.var->setContentsMargins(kRowPadding + kDigitSpace, 0, kRowPadding, 0);
        row.var->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        row.var->setAutoFillBackground(true);
        row.var->installEventFilter(this);

        // The meaning and the transcription lie over the row; the row itself takes the pointer and clicks.
        row.trsl = MakeLabel(row.var, RowName("trsl", i + 1));
        row.trsl->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        row.trsl->setContentsMargins(0, 0, kRowPadding, 0);
        row.trsc = MakeLabel(row.var, RowName("trsc", i + 1));
        row.trsc->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        for (QLabel* child : {row.trsl, row.trsc}) {
            child->setAttribute(Qt::WA_TransparentForMouseEvents);
            SetTextColor(child, QColor(Qt::black));
            child->hide();
        }
        row.var->hide();
        column->addWidget(row.var);
    }
    column->addStretch(1);
}

void VariantPage::SetFontFamilies(const QString& word, const QString& translation, const QString& transcription)
{
    m_wordFont = FontOf(word);
    m_translationFont = FontOf(translation);
    m_transcription = TranscriptionDisplay::For(transcription);
    m_transcriptionFont = FontOf(m_transcription.Family());
    for (int i = 0; i < kVariantRows; ++i) {
        ApplyLook(i);
    }
}

void VariantPage::SetTaskLabels(QLabel* word, QLabel* wordtrsc)
{
    m_word = word;
    m_wordtrsc = wordtrsc;
}

QFont VariantPage::AnswerFont() const
{
    return m_view.answersAreWords ? m_wordFont : m_translationFont;
}

QFont VariantPage::MeaningFont() const
{
    return m_view.answersAreWords ? m_translationFont : m_wordFont;
}

void VariantPage::ClearTask()
{
    ++m_taskSerial;
    m_view = VariantTaskView{};
    m_answered = false;
    m_pressedSlot = -1;
    m_highlight = -1;
    for (Row& row : m_rows) {
        row.look = VariantRowLook{};
        row.var->setAccessibleName(QString());
        row.var->hide();
        row.trsl->hide();
        row.trsc->hide();
    }
    if (m_word) {
        m_word->hide();
    }
    if (m_wordtrsc) {
        m_wordtrsc->hide();
    }
}

void VariantPage::SetVariantTask(const VariantSettings& settings)
{
    if (!window()->isVisible()) {
        return;
    }
    ClearTask();
    m_settings = settings;
    m_view = vb::SetVariantTask(m_lesson, settings, m_options);
    if (!m_view.ready) {
        return;
    }

    // The task strip keeps its own font size; only the family follows the side it shows.
    if (m_word) {
        SetFamily(m_word, m_view.taskIsWord ? m_wordFont : m_translationFont);
        m_word->setText(Show(m_view.taskText));
        m_word->setVisible(m_view.showTask);
    }
    if (m_wordtrsc) {
        SetFamily(m_wordtrsc, m_transcriptionFont);
        m_wordtrsc->setText(m_transcription.Text(Show(m_view.taskTranscription)));
        m_wordtrsc->setVisible(m_view.showTaskTranscription);
    }

    const int count = static_cast<int>(m_view.rows.size());
    for (int i = 0; i < count && i < kVariantRows; ++i) {
        Row& row = m_rows[static_cast<std::size_t>(i)];
        const VariantRowView& text = m_view.rows[static_cast<std::size_t>(i)];
        row.var->setText(Show(text.answer));
        row.var->setAccessibleName(QString::fromStdString(VariantRowSpokenName(i + 1, text.answer)));
        row.trsl->setText(Show(text.meaning));
        row.trsc->setText(m_transcription.Text(Show(text.transcription)));
        row.look = InitialRowLook(m_view.direction, settings.RG_Transc);
        ApplyLook(i);
        row.var->show();
    }

    emit PronounceRequested(m_view.taskText, m_view.taskIsWord);
}

void VariantPage::pm_hintClick()
{
    if (!m_view.ready) {
        return;
    }
    const int slot = VariantHintSlot(m_options, m_lesson.TaskPos);
    if (slot < 0 || slot >= static_cast<int>(m_view.rows.size())) {
        return;
    }
    RowHinted(m_rows[static_cast<std::size_t>(slot)].look);
    ApplyLook(slot);
}

void VariantPage::wordMouseEnter()
{
    if (m_view.ready && m_wordtrsc) {
        m_wordtrsc->setVisible(
            TaskTranscriptionVisible(m_settings.visual, m_view.taskIsWord, m_settings.RG_Transc, true));
    }
}

void VariantPage::wordMouseLeave()
{
    if (m_view.ready && m_wordtrsc) {
        m_wordtrsc->setVisible(
            TaskTranscriptionVisible(m_settings.visual, m_view.taskIsWord, m_settings.RG_Transc, false));
    }
}

QLabel* VariantPage::var(int n) const
{
    return n >= 1 && n <= kVariantRows ? m_rows[static_cast<std::size_t>(n - 1)].var : nullptr;
}

QLabel* VariantPage::trsl(int n) const
{
    return n >= 1 && n <= kVariantRows ? m_rows[static_cast<std::size_t>(n - 1)].trsl : nullptr;
}

QLabel* VariantPage::trsc(int n) const
{
    return n >= 1 && n <= kVariantRows ? m_rows[static_cast<std::size_t>(n - 1)].trsc : nullptr;
}

VariantRowLook VariantPage::RowLook(int n) const
{
    return n >= 1 && n <= kVariantRows ? m_rows[static_cast<std::size_t>(n - 1)].look : VariantRowLook{};
}

int VariantPage::SlotOf(QObject* object) const
{
    for (int i = 0; i < kVariantRows; ++i) {
        if (m_rows[static_cast<std::size_t>(i)].var == object) {
            return i;
        }
    }
    return -1;
}

bool VariantPage::eventFilter(QObject* watched, QEvent* event)
{
    const int slot = SlotOf(watched);
    if (slot < 0) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::Enter:
        // The pointer takes the highlight over from the keys.
        if (m_highlight >= 0 && m_highlight != slot) {
            varMouseLeave(m_highlight);
        }
        m_highlight = slot;
        varMouseEnter(slot);
        break;
    case QEvent::Leave:
        if (m_highlight == slot) {
            m_highlight = -1;
        }
        varMouseLeave(slot);
        break;
    case QEvent::Resize:
        PlaceRow(slot);
        break;
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            m_pressedSlot = slot;
        }
        break;
    case QEvent::MouseButtonDblClick:
        // The second press of a double click is not a second answer.
        m_pressedSlot = -1;
        break;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool click = mouse->button() == Qt::LeftButton && m_pressedSlot == slot &&
                           m_rows[static_cast<std::size_t>(slot)].var->rect().contains(mouse->position().toPoint());
        m_pressedSlot = -1;
        if (click) {
            varClick(slot);
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void VariantPage::varClick(int slot)
{
    if (!m_view.ready || m_answered || slot >= static_cast<int>(m_view.rows.size())) {
        return;
    }
    const unsigned serial = m_taskSerial;
    const VariantAnswer answer = AnswerVariant(m_lesson, m_options, slot);
    if (serial != m_taskSerial) {
        // The answer's events already set another task.
        return;
    }
    if (answer == VariantAnswer::Right) {
        // Until the echo sets the next task, another click would score this one again.
        m_answered = true;
        emit Answered(true);
    } else if (answer == VariantAnswer::Wrong) {
        RowChosenWrongly(m_rows[static_cast<std::size_t>(slot)].look);
        ApplyLook(slot);
        emit Answered(false);
    }
}

void VariantPage::varMouseEnter(int slot)
{
    if (!m_view.ready || slot >= static_cast<int>(m_view.rows.size())) {
        return;
    }
    RowPointerEntered(m_rows[static_cast<std::size_t>(slot)].look, m_view.direction, m_settings.RG_Transc);
    ApplyLook(slot);
}

void VariantPage::varMouseLeave(int slot)
{
    if (!m_view.ready || slot >= static_cast<int>(m_view.rows.size())) {
        return;
    }
    RowPointerLeft(m_rows[static_cast<std::size_t>(slot)].look, m_view.direction, m_settings.RG_Transc);
    ApplyLook(slot);
}

void VariantPage::ApplyLook(int slot)
{
    Row& row = m_rows[static_cast<std::size_t>(slot)];
    QFont font = AnswerFont();
    font.setBold(row.look.bold);
    font.setStrikeOut(row.look.strikeOut);
    row.var->setFont(font);
    SetTextColor(row.var, ColorOf(row.look.color));
    row.trsl->setFont(MeaningFont());
    row.trsc->setFont(m_transcriptionFont);
    PlaceRow(slot);
    const bool inUse = m_view.ready && slot < static_cast<int>(m_view.rows.size());
    row.trsl->setVisible(inUse && row.look.meaningShown);
    row.trsc->setVisible(inUse && row.look.transcriptionShown);
}

void VariantPage::PlaceRow(int slot)
{
    Row& row = m_rows[static_cast<std::size_t>(slot)];
    const int width = row.var->width();
    const int height = row.var->height();
    row.trsl->setGeometry(0, 0, width, height);
    // Measured in bold, so that a hovered answer never runs into its transcription.
    QFont bold = AnswerFont();
    bold.setBold(true);
    const int x =
        row.var->contentsMargins().left() + QFontMetrics(bold).horizontalAdvance(row.var->text()) + kTranscriptionGap;
    row.trsc->setGeometry(x, 0, row.trsc->sizeHint().width(), height);
}

void VariantPage::keyPressEvent(QKeyEvent* event)
{
    if (KeyPressed(*event)) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool VariantPage::KeyPressed(const QKeyEvent& event)
{
    // After a right answer the page is disabled until the next task, and takes no keys as it takes no clicks.
    if (!isEnabled() || !isVisible() || !m_view.ready) {
        return false;
    }
    // The keypad's digits count as the main row's.
    if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        return false;
    }
    const int count = std::min(static_cast<int>(m_view.rows.size()), kVariantRows);
    const int key = event.key();
    if (key >= Qt::Key_1 && key <= Qt::Key_7) {
        const int slot = key - Qt::Key_1;
        if (slot < count) {
            varClick(slot);
        }
        return true;
    }
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const int next = MoveVariantHighlight(m_highlight, count, key == Qt::Key_Up ? -1 : 1);
        if (next != m_highlight) {
            if (m_highlight >= 0) {
                varMouseLeave(m_highlight);
            }
            m_highlight = next;
            varMouseEnter(next);
            QAccessibleEvent focus(m_rows[static_cast<std::size_t>(next)].var, QAccessible::Focus);
            QAccessible::updateAccessibility(&focus);
        }
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_highlight >= 0) {
            varClick(m_highlight);
        }
        return true;
    default:
        return false;
    }
}

} // namespace vb
