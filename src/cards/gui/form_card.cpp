// SPDX-License-Identifier: GPL-3.0-or-later
#include "cards/gui/form_card.h"
#include "common/gui/accessible_names.h"

#include "app/gui/color_menus.h"
#include "app/gui/learning_startup.h"
#include "common/codepage.h"
#include "dictionary/gui/transcription_display.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QHideEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QShowEvent>
#include <QWindow>

#include <algorithm>

namespace vb {

namespace {

// Pixel heights of the designed fonts.
constexpr int kLineFontPx = 19;
constexpr int kThesaurusFontPx = 15;
constexpr int kTranscriptionFontPx = 16;
// Space between a line's text and the window's side.
constexpr int kIndent = 3;
// A press this close to a side resizes the window instead of moving it.
constexpr int kGrip = 5;

QLabel* MakeLine(QWidget* parent, const char* name, const QString& family, int pixelSize)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont font(family);
    font.setPixelSize(pixelSize);
    label->setFont(font);
    label->setIndent(kIndent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

void SetFamily(QLabel* label, const QString& family)
{
    if (family.isEmpty()) {
        return;
    }
    QFont font = label->font();
    font.setFamily(family);
    label->setFont(font);
}

QString Shown(const std::string& text)
{
    return QString::fromStdString(text);
}

// The sides of the window a press at `pos` grips.
Qt::Edges EdgesAt(const QWidget* window, const QPoint& pos)
{
    Qt::Edges edges;
    if (pos.x() < kGrip) {
        edges |= Qt::LeftEdge;
    }
    if (pos.x() >= window->width() - kGrip) {
        edges |= Qt::RightEdge;
    }
    if (pos.y() < kGrip) {
        edges |= Qt::TopEdge;
    }
    if (pos.y() >= window->height() - kGrip) {
        edges |= Qt::BottomEdge;
    }
    return edges;
}

Qt::CursorShape CursorFor(Qt::Edges edges)
{
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical) {
        const bool main =
            (edges & Qt::LeftEdge && edges & Qt::TopEdge) || (edges & Qt::RightEdge && edges & Qt::BottomEdge);
        return main ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
    }
    if (horizontal) {
        return Qt::SizeHorCursor;
    }
    return vertical ? Qt::SizeVerCursor : Qt::ArrowCursor;
}

} // namespace

TForm_Card::TForm_Card(AppContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_ctx(ctx)
{
    setObjectName(QStringLiteral("Form_Card"));
    setWindowTitle(QStringLiteral("Карточка слова"));
    // A card appearing must not take the keyboard from what the pupil is doing.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMouseTracking(true);
    setMinimumSize(40, 16);

    Card_Word = MakeLine(this, "Card_Word", QStringLiteral("Arial"), kLineFontPx);
    Card_Transl = MakeLine(this, "Card_Transl", QStringLiteral("Arial"), kLineFontPx);
    Card_Tesaurus = MakeLine(this, "Card_Tesaurus", QStringLiteral("Arial"), kThesaurusFontPx);
    Card_Tesaurus->setWordWrap(true);
    Card_Tesaurus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Card_Transcr = MakeLine(this, "Card_Transcr", QStringLiteral("PhoneticTM"), kTranscriptionFontPx);
    Card_Transcr->setIndent(0);
    Card_Word->setGeometry(0, 0, width(), 22);
    Card_Transl->setGeometry(0, 22, width(), 22);
    Card_Tesaurus->setGeometry(0, 44, width(), 0);

    PopupMenuCard = new QMenu(this);
    PopupMenuCard->setObjectName(QStringLiteral("PopupMenuCard"));
    pm_card = PopupMenuCard->addAction(QStringLiteral("Скрыть карточку слов"));
    pm_card->setObjectName(QStringLiteral("pm_card"));
    pm_lesson = PopupMenuCard->addAction(QStringLiteral("Вернуться к урокам"));
    pm_lesson->setObjectName(QStringLiteral("pm_lesson"));
    pm_card_color = PopupMenuCard->addAction(QStringLiteral("Изменить цвет"));
    pm_card_color->setObjectName(QStringLiteral("pm_card_color"));
    connect(pm_card, &QAction::triggered, this, &TForm_Card::pm_cardClick);
    connect(pm_lesson, &QAction::triggered, this, &TForm_Card::pm_lessonClick);
    connect(pm_card_color, &QAction::triggered, this, &TForm_Card::pm_card_colorClick);

    // The lines pass every press, double click and context menu to the window.
    for (QLabel* line : {Card_Word, Card_Transl, Card_Tesaurus, Card_Transcr}) {
        line->setMouseTracking(true);
        line->installEventFilter(this);
        line->hide();
    }

    const CardSettings designed;
    setGeometry(designed.Left, designed.Top, designed.Width, designed.Height);
    SetControlColor(Card_Transl, designed.ColorCard_Transl);
    SetControlColor(this, designed.ColorForm_Card);

    // FormCreate.
    LoadCardSettings();
    FitLines(QFontMetrics(Card_Word->font()).height() + QFontMetrics(Card_Transl->font()).height());
    NameForScreenReaders(this);
}

TForm_Card::~TForm_Card()
{
    SaveCardSettings();
}

std::string TForm_Card::PupilKey() const
{
    if (m_hooks.pupilKey) {
        return m_hooks.pupilKey();
    }
    // At creation the hooks are not there yet: the pupil is the one the lesson window has just read.
    return m_ctx.registry ? PupilKeyOf(ReadPupilName(*m_ctx.registry)) : std::string();
}

void TForm_Card::LoadCardSettings()
{
    if (!m_ctx.registry) {
        return;
    }
    CardSettings values = Values();
    const CardLoadResult result = vb::LoadCardSettings(*m_ctx.registry, PupilKey(), values);
    // A height the pupil has kept stays as it is; the designed one is only a starting point.
    m_fitLines = !result.Read("CardHeight");
    if (result.groupD > 0) {
        setGeometry(values.Left, values.Top, values.Width, values.Height);
    }
    if (result.Read("ColorCard_Transl")) {
        SetControlColor(Card_Transl, values.ColorCard_Transl);
    }
    if (result.Read("ColorForm_Card")) {
        SetControlColor(this, values.ColorForm_Card);
    }
}

void TForm_Card::SaveCardSettings()
{
    if (m_ctx.registry) {
        vb::SaveCardSettings(*m_ctx.registry, PupilKey(), Values());
    }
}

CardSettings TForm_Card::Values() const
{
    CardSettings values;
    const QRect bounds = geometry();
    values.Top = bounds.top();
    values.Left = bounds.left();
    values.Height = bounds.height();
    values.Width = bounds.width();
    values.ColorCard_Transl = ControlColorValue(Card_Transl);
    values.ColorForm_Card = ControlColorValue(this);
    return values;
}

// ---------------------------------------------------------------------------------------------------
// One card

void TForm_Card::SetFace(const CardFace& face, const QString& wordFont, const QString& translationFont,
                         const QString& transcriptionFont)
{
    const auto fontOf = [&](CardFont kind) { return kind == CardFont::Word ? wordFont : translationFont; };
    HideLines();
    Card_Word->setText(Shown(face.task));
    SetFamily(Card_Word, fontOf(face.taskFont));
    Card_Transl->setText(Shown(face.answer));
    SetFamily(Card_Transl, fontOf(face.answerFont));
    Card_Tesaurus->setText(Shown(face.thesaurus));
    SetFamily(Card_Tesaurus, fontOf(face.thesaurusFont));
    const TranscriptionDisplay transcription = TranscriptionDisplay::For(transcriptionFont);
    Card_Transcr->setText(transcription.Text(Shown(face.transcription)));
    SetFamily(Card_Transcr, transcription.Family());
    Card_Transcr->adjustSize();

    // Each line as high as its text; the transcription 5 pixels past the end of the foreign word.
    const QFontMetrics wordMetrics(Card_Word->font());
    const QFontMetrics answerMetrics(Card_Transl->font());
    FitLines(wordMetrics.height() + answerMetrics.height());
    Card_Word->setGeometry(0, 0, width(), wordMetrics.height());
    Card_Transl->setGeometry(0, Card_Word->height(), width(), answerMetrics.height());
    m_transcriptionLine = face.transcriptionOnTaskLine ? Card_Word : Card_Transl;
    const QFontMetrics& lineMetrics = face.transcriptionOnTaskLine ? wordMetrics : answerMetrics;
    m_transcriptionLeft = kIndent + lineMetrics.horizontalAdvance(m_transcriptionLine->text()) + 5;
    // On the foreign word's baseline, whatever the two fonts' heights.
    m_transcriptionDrop = lineMetrics.ascent() - QFontMetrics(Card_Transcr->font()).ascent();
    LayoutLines();
}

void TForm_Card::FitLines(int linesHeight)
{
    // The designed 44 pixels hold two lines of 19-pixel Arial as Windows sets it; the fonts that stand in for it
    // elsewhere (Nimbus or DejaVu Sans) are taller, and the answer line would be cut off.
    if (m_fitLines) {
        const int fitted = std::max(CardSettings{}.Height, linesHeight);
        if (height() != fitted) {
            resize(width(), fitted);
        }
    }
}

void TForm_Card::HideLines()
{
    for (QLabel* line : {Card_Word, Card_Transl, Card_Tesaurus, Card_Transcr}) {
        line->hide();
    }
}

void TForm_Card::LayoutLines()
{
    Card_Word->resize(width(), Card_Word->height());
    Card_Transl->resize(width(), Card_Transl->height());
    const int thesaurusTop = Card_Word->height() + Card_Transl->height();
    Card_Tesaurus->setGeometry(0, thesaurusTop, width(), std::max(0, height() - thesaurusTop));
    if (m_transcriptionLine != nullptr) {
        Card_Transcr->move(m_transcriptionLine->x() + m_transcriptionLeft,
                           m_transcriptionLine->y() + m_transcriptionDrop);
    }
    // The transcription sits over its line.
    Card_Transcr->raise();
}

void TForm_Card::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutLines();
}

// ---------------------------------------------------------------------------------------------------
// Window events

void TForm_Card::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TForm_Card::FormShow()
{
    // Above every other window, where it was left.
    raise();
}

void TForm_Card::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous()) {
        SaveCardSettings();
    }
}

void TForm_Card::closeEvent(QCloseEvent* event)
{
    // Only the card's menu, the tray menu or a return to the lessons put the card away.
    event->ignore();
}

void TForm_Card::mousePressEvent(QMouseEvent* event)
{
    FormMouseDown(event);
}

void TForm_Card::FormMouseDown(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        // The context menu follows; a right press does not start a move.
        return;
    }
    const QPoint pos = mapFromGlobal(event->globalPosition().toPoint());
    const Qt::Edges edges = EdgesAt(this, pos);
    if (edges) {
        // Sized by the pupil: kept from now on.
        m_fitLines = false;
    }
    if (QWindow* native = windowHandle()) {
        if (edges ? native->startSystemResize(edges) : native->startSystemMove()) {
            return;
        }
    }
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void TForm_Card::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - m_dragOffset);
        return;
    }
    setCursor(CursorFor(EdgesAt(this, mapFromGlobal(event->globalPosition().toPoint()))));
}

void TForm_Card::mouseReleaseEvent(QMouseEvent* /*event*/)
{
    m_dragging = false;
}

void TForm_Card::mouseDoubleClickEvent(QMouseEvent* /*event*/)
{
    m_dragging = false;
    pm_lessonClick();
}

bool TForm_Card::eventFilter(QObject* watched, QEvent* event)
{
    auto* line = qobject_cast<QLabel*>(watched);
    if (line == nullptr) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        FormMouseDown(static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::MouseMove:
        mouseMoveEvent(static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        return true;
    case QEvent::MouseButtonDblClick:
        mouseDoubleClickEvent(static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::ContextMenu:
        CardContextPopup(line, static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

// ---------------------------------------------------------------------------------------------------
// Menu

void TForm_Card::contextMenuEvent(QContextMenuEvent* event)
{
    CardContextPopup(this, event->globalPos());
}

void TForm_Card::CardContextPopup(QWidget* over, const QPoint& globalPos)
{
    m_colorTarget = over == Card_Transl ? static_cast<QWidget*>(Card_Transl) : static_cast<QWidget*>(this);
    PopupMenuCard->popup(globalPos);
}

void TForm_Card::pm_cardClick()
{
    if (m_hooks.hideCard) {
        m_hooks.hideCard();
    } else {
        hide();
    }
}

void TForm_Card::pm_lessonClick()
{
    if (m_hooks.showFromTray) {
        m_hooks.showFromTray();
    }
}

void TForm_Card::pm_card_colorClick()
{
    QWidget* target = m_colorTarget != nullptr ? m_colorTarget : this;
    if (!m_hooks.runColorDialog) {
        return;
    }
    if (const std::optional<QColor> chosen = m_hooks.runColorDialog(ControlColor(target))) {
        SetControlColor(target, *chosen);
    }
}

} // namespace vb
