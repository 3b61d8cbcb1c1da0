// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/gui/mosaic_page.h"

#include "common/codepage.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QSplitter>

#include <algorithm>
#include <memory>

namespace vb {

namespace {

constexpr int kFontPointSize = 10;
constexpr int kDefaultMozWidth = 265;
const char* const kDragFormat = "application/x-verbanta-mosaic-item";

std::function<void(QListWidget*, QMimeData*)>& DragHook()
{
    static std::function<void(QListWidget*, QMimeData*)> hook;
    return hook;
}

// What a drag between the two lists carries: the list it started from.
class MosaicDragData : public QMimeData
{
public:
    explicit MosaicDragData(QListWidget* source) : m_source(source) { setData(QString::fromLatin1(kDragFormat), {}); }
    QListWidget* Source() const { return m_source; }

private:
    QPointer<QListWidget> m_source;
};

int SelectedRow(const QListWidget* list)
{
    const QList<QListWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? -1 : list->row(items.first());
}

QFont FontOf(const QString& family)
{
    QFont font;
    if (!family.isEmpty()) {
        font.setFamily(family);
    }
    font.setPointSize(kFontPointSize);
    return font;
}

} // namespace

// A list of the page. Pressing an item and moving starts a drag towards the other list; a left click on an
// item, a double click and a drop are passed to the page to judge.
class MosaicList : public QListWidget
{
public:
    MosaicList(MosaicPage* page, const QString& name) : QListWidget(page), m_page(page)
    {
        setObjectName(name);
        setSelectionMode(QAbstractItemView::SingleSelection);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setDragEnabled(false); // the drag is started here, not by the view
        setAcceptDrops(true);
        viewport()->setAcceptDrops(true);
        setDropIndicatorShown(false);
        setContextMenuPolicy(Qt::CustomContextMenu);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        const QPoint pos = event->position().toPoint();
        if (!itemAt(pos)) {
            // A press beside the items keeps the selection as it is.
            m_clickPending = false;
            m_dragArmed = false;
            event->accept();
            return;
        }
        m_page->m_clickJudged = false;
        QListWidget::mousePressEvent(event);
        m_clickPending = event->button() == Qt::LeftButton;
        m_dragArmed = m_clickPending;
        m_pressPos = pos;
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (m_dragArmed && (event->buttons() & Qt::LeftButton)) {
            if ((event->position().toPoint() - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
                m_dragArmed = false;
                m_clickPending = false;
                m_page->StartDrag(this);
                setState(NoState);
            }
            return;
        }
        QListWidget::mouseMoveEvent(event);
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        const bool click =
            m_clickPending && event->button() == Qt::LeftButton && itemAt(event->position().toPoint()) != nullptr;
        m_clickPending = false;
        m_dragArmed = false;
        QListWidget::mouseReleaseEvent(event);
        if (click) {
            if (this == m_page->LBox_Eng) {
                m_page->LBox_EngClick();
            } else {
                m_page->LBox_RusClick();
            }
        }
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton) {
            QListWidget::mouseDoubleClickEvent(event);
            return;
        }
        // The second press selects like the first; its release is not another click.
        const QPoint pos = event->position().toPoint();
        if (itemAt(pos)) {
            QMouseEvent press(QEvent::MouseButtonPress, event->position(), event->scenePosition(),
                              event->globalPosition(), event->button(), event->buttons(), event->modifiers());
            QListWidget::mousePressEvent(&press);
        }
        m_clickPending = false;
        m_dragArmed = false;
        m_page->LBox_EngRusDblClick();
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        if (!m_page->ListKeyPressed(this, *event)) {
            QListWidget::keyPressEvent(event);
        }
    }

    void dragEnterEvent(QDragEnterEvent* event) override { AcceptIfPartner(event); }
    void dragMoveEvent(QDragMoveEvent* event) override { AcceptIfPartner(event); }

    void dropEvent(QDropEvent* event) override
    {
        if (!m_page->AcceptsDrop(this, event->mimeData())) {
            event->ignore();
            return;
        }
        event->setDropAction(Qt::CopyAction);
        event->accept();
        m_page->Dropped(this, event->position().toPoint());
    }

private:
    void AcceptIfPartner(QDropEvent* event)
    {
        if (m_page->AcceptsDrop(this, event->mimeData())) {
            event->setDropAction(Qt::CopyAction);
            event->accept();
        } else {
            event->ignore();
        }
    }

    MosaicPage* m_page;
    QPoint m_pressPos;
    bool m_clickPending = false;
    bool m_dragArmed = false;
};

MosaicPage::MosaicPage(Lesson& lesson, QWidget* parent)
    : QWidget(parent), m_lesson(lesson), m_mozWidth(kDefaultMozWidth)
{
    setObjectName(QStringLiteral("MosaicPage"));
    Splitter = new QSplitter(Qt::Horizontal, this);
    Splitter->setObjectName(QStringLiteral("Splitter"));
    Splitter->setChildrenCollapsible(false);
    LBox_Eng = new MosaicList(this, QStringLiteral("LBox_Eng"));
    LBox_Rus = new MosaicList(this, QStringLiteral("LBox_Rus"));
    Splitter->addWidget(LBox_Eng);
    Splitter->addWidget(LBox_Rus);
    // The left list keeps its width; the right one follows the window.
    Splitter->setStretchFactor(0, 0);
    Splitter->setStretchFactor(1, 1);
    SetFontFamilies(QStringLiteral("Arial"), QStringLiteral("Arial"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Splitter);

    LBox_Eng->setAccessibleName(QStringLiteral("Слова"));
    LBox_Rus->setAccessibleName(QStringLiteral("Переводы"));
    const QString keys = QStringLiteral(
        "Стрелки влево и вправо переходят между списками, вверх и вниз выбирают слово, Enter проверяет пару");
    LBox_Eng->setAccessibleDescription(keys);
    LBox_Rus->setAccessibleDescription(keys);
    for (QListWidget* list : {LBox_Eng, LBox_Rus}) {
        connect(list, &QWidget::customContextMenuRequested, this,
                [this, list](const QPoint& pos) { LBoxContextPopup(list, pos); });
    }
}

int MosaicPage::LearningMozWidth() const
{
    if (m_widthApplied) {
        return Splitter->sizes().value(0, m_mozWidth);
    }
    return m_mozWidth;
}

void MosaicPage::SetLearningMozWidth(int width)
{
    m_mozWidth = std::max(width, 0);
    m_widthApplied = false;
    ApplyMozWidth();
}

void MosaicPage::ApplyMozWidth()
{
    if (!Splitter->isVisible()) {
        return;
    }
    const int rest = std::max(Splitter->width() - Splitter->handleWidth() - m_mozWidth, 0);
    Splitter->setSizes({m_mozWidth, rest});
    m_widthApplied = true;
}

void MosaicPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_widthApplied) {
        ApplyMozWidth();
    }
}

void MosaicPage::SetFontFamilies(const QString& word, const QString& translation)
{
    LBox_Eng->setFont(FontOf(word));
    LBox_Rus->setFont(FontOf(translation));
}

void MosaicPage::SetWordPopupMenu(QMenu* menu)
{
    m_wordMenu = menu;
}

void MosaicPage::ClearLists()
{
    LBox_Eng->clear();
    LBox_Rus->clear();
    m_set.PairsLeft = 0;
}

void MosaicPage::BuildMosaic(const MosaicSettings& settings)
{
    if (!window()->isVisible()) {
        return;
    }
    m_settings = settings;
    ClearLists();
    if (!vb::BuildMosaic(m_lesson, settings, m_set)) {
        return;
    }
    for (int i = 0; i < m_set.PairsLeft; ++i) {
        LBox_Eng->addItem(QString::fromStdString(MosaicItemText(m_lesson, m_set, MosaicSide::Left, i)));
        LBox_Rus->addItem(QString::fromStdString(MosaicItemText(m_lesson, m_set, MosaicSide::Right, i)));
    }
}

void MosaicPage::LBoxContextPopup(QListWidget* list, const QPoint& pos)
{
    if (list != LBox_Eng && list != LBox_Rus) {
        return;
    }
    m_listTarget = list;
    QListWidgetItem* item = list->itemAt(pos);
    m_listTargetIndex = item ? list->row(item) : -1;
    if (item) {
        list->setCurrentItem(item);
    }
    if (m_wordMenu) {
        m_wordMenu->popup(list->viewport()->mapToGlobal(pos));
    }
}

void MosaicPage::pm_hintClick()
{
    if (!m_listTarget) {
        return;
    }
    const int partner = MosaicPartner(m_set, SideOf(m_listTarget), SelectedRow(m_listTarget));
    if (partner >= 0) {
        Partner(m_listTarget)->setCurrentRow(partner);
    }
}

void MosaicPage::pm_word_offClick()
{
    pm_hintClick();
    const int left = SelectedRow(LBox_Eng);
    const int right = SelectedRow(LBox_Rus);
    if (!MarkMosaicPairLearned(m_lesson, m_set, left, right)) {
        return;
    }
    RemoveSelectedPair(left, right);
    if (LBox_Eng->count() == 0) {
        BuildMosaic(m_settings);
    }
}

void MosaicPage::pm_word_onClick()
{
    if (m_listTarget) {
        ResetMosaicItem(m_lesson, m_set, SideOf(m_listTarget), SelectedRow(m_listTarget));
    }
}

bool MosaicPage::TargetPronunciation(std::string& text, bool& isWord) const
{
    if (!m_listTarget) {
        return false;
    }
    const MosaicSide side = SideOf(m_listTarget);
    text = MosaicItemText(m_lesson, m_set, side, m_listTargetIndex);
    isWord = side == MosaicSide::Left;
    return !text.empty();
}

void MosaicPage::SetDragHook(std::function<void(QListWidget* source, QMimeData* data)> hook)
{
    DragHook() = std::move(hook);
}

void MosaicPage::LBox_EngClick()
{
    const int left = SelectedRow(LBox_Eng);
    if (left < 0) {
        return;
    }
    MosaicItemChosen(m_lesson, m_set, MosaicSide::Left, left);
    m_clickJudged = JudgePair();
}

void MosaicPage::LBox_RusClick()
{
    const int right = SelectedRow(LBox_Rus);
    if (right < 0) {
        return;
    }
    MosaicItemChosen(m_lesson, m_set, MosaicSide::Right, right);
    m_clickJudged = JudgePair();
}

void MosaicPage::LBox_EngRusDblClick()
{
    // One double click is one answer: its first click may have judged the pair already.
    if (m_clickJudged) {
        m_clickJudged = false;
        return;
    }
    JudgePair();
}

bool MosaicPage::JudgePair()
{
    const int left = SelectedRow(LBox_Eng);
    const int right = SelectedRow(LBox_Rus);
    const MosaicJudgement judgement = JudgeMosaicPair(m_lesson, m_set, left, right);
    if (judgement == MosaicJudgement::None) {
        return false;
    }
    if (judgement == MosaicJudgement::Wrong) {
        emit Answered(false);
        return true;
    }
    RemoveSelectedPair(left, right);
    emit Answered(true);
    if (LBox_Eng->count() == 0) {
        BuildMosaic(m_settings);
    }
    return true;
}

void MosaicPage::RemoveSelectedPair(int left, int right)
{
    delete LBox_Eng->takeItem(left);
    delete LBox_Rus->takeItem(right);
    // Neither list keeps a selection: the next pair starts from nothing.
    LBox_Eng->selectionModel()->clear();
    LBox_Rus->selectionModel()->clear();
}

void MosaicPage::StartDrag(QListWidget* source)
{
    auto data = std::make_unique<MosaicDragData>(source);
    if (DragHook()) {
        DragHook()(source, data.get());
        return;
    }
    auto* drag = new QDrag(source);
    drag->setMimeData(data.release());
    drag->exec(Qt::CopyAction);
}

bool MosaicPage::AcceptsDrop(QListWidget* target, const QMimeData* data) const
{
    const auto* drag = dynamic_cast<const MosaicDragData*>(data);
    if (!drag || (target != LBox_Eng && target != LBox_Rus)) {
        return false;
    }
    QListWidget* source = drag->Source();
    return source == Partner(target) && SelectedRow(source) >= 0;
}

void MosaicPage::Dropped(QListWidget* target, const QPoint& pos)
{
    QListWidgetItem* item = target->itemAt(pos);
    if (!item) {
        return;
    }
    target->setCurrentItem(item);
    JudgePair();
}

QListWidget* MosaicPage::Partner(QListWidget* list) const
{
    return list == LBox_Eng ? LBox_Rus : LBox_Eng;
}

MosaicSide MosaicPage::SideOf(const QListWidget* list) const
{
    return list == LBox_Eng ? MosaicSide::Left : MosaicSide::Right;
}

bool MosaicPage::KeyPressed(const QKeyEvent& event)
{
    QWidget* focus = window()->focusWidget();
    if (focus == LBox_Eng || focus == LBox_Rus) {
        return false; // the list has had the key already
    }
    if (!isEnabled() || !isVisible() || !IsMosaicKey(event)) {
        return false;
    }
    // From anywhere else on the page the keys start in the words list.
    QListWidget* list = event.key() == Qt::Key_Right ? LBox_Rus : LBox_Eng;
    list->setFocus(Qt::OtherFocusReason);
    if (event.key() == Qt::Key_Left || event.key() == Qt::Key_Right) {
        return true;
    }
    return ListKeyPressed(list, event);
}

bool MosaicPage::IsMosaicKey(const QKeyEvent& event)
{
    if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        return false;
    }
    switch (event.key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return true;
    default:
        return false;
    }
}

bool MosaicPage::ListKeyPressed(QListWidget* list, const QKeyEvent& event)
{
    if (!IsMosaicKey(event)) {
        return false;
    }
    switch (event.key()) {
    case Qt::Key_Left:
        LBox_Eng->setFocus(Qt::OtherFocusReason);
        return true;
    case Qt::Key_Right:
        LBox_Rus->setFocus(Qt::OtherFocusReason);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down: {
        if (list->count() == 0) {
            return true;
        }
        const int selected = SelectedRow(list);
        int row = 0;
        if (selected < 0) {
            // Nothing chosen yet: the first key chooses the item the list points at, or the first.
            row = std::max(list->currentRow(), 0);
        } else {
            row = std::clamp(selected + (event.key() == Qt::Key_Up ? -1 : 1), 0, list->count() - 1);
        }
        list->setCurrentRow(row);
        list->scrollToItem(list->item(row));
        // As a click on the item, but the pair waits for Enter: its points go to the status bar.
        MosaicItemChosen(m_lesson, m_set, SideOf(list), row);
        return true;
    }
    default:
        // Enter: the selected pair, as a double click judges it.
        m_clickJudged = false;
        LBox_EngRusDblClick();
        return true;
    }
}

} // namespace vb
