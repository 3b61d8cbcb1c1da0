// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictionary/gui/dictionary_page.h"

#include "dictionary/gui/dictionary_grid.h"
#include "dictionary/gui/dictionary_navigator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace vb {

namespace {

constexpr int kTranscriptionFontPx = 24;
constexpr int kSearchFontPx = 22;

QFont PixelFont(const QString& family, int px)
{
    QFont font(family);
    font.setPixelSize(px);
    return font;
}

QToolButton* SpeedButton(QWidget* parent, const char* name, const QString& hint, const QIcon& icon)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setIcon(icon);
    b->setIconSize(QSize(16, 16));
    b->setFixedSize(26, 24);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

// A letter as the icon of the fonts button.
QIcon LetterIcon(const QString& letter, const QColor& ink)
{
    QPixmap pixmap(32, 32);
    pixmap.setDevicePixelRatio(2.0);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont font = p.font();
    font.setPixelSize(14);
    font.setBold(true);
    font.setFamily(QStringLiteral("serif"));
    p.setFont(font);
    p.setPen(ink);
    p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, letter);
    return QIcon(pixmap);
}

} // namespace

DictionaryPage::DictionaryPage(TFixedFormatDataSet& table, QWidget* parent) : QWidget(parent)
{
    const QFont gridFont = PixelFont(QStringLiteral("MS Sans Serif"), 24);
    std::vector<DictionaryTableModel::Column> columns = {
        {"word", QStringLiteral("Слово"), 195, gridFont},
        {"transcription", QStringLiteral("транскрипция"), 150,
         PixelFont(QStringLiteral("PhoneticTM"), kTranscriptionFontPx)},
        {"translate", QStringLiteral("Перевод"), 208, gridFont},
        {"tesaurus", QStringLiteral("тезаурус"), 345, gridFont},
    };
    model = new DictionaryTableModel(table, std::move(columns), this);
    model->setObjectName(QStringLiteral("DataSource"));

    QStyle* st = style();
    BTopen = SpeedButton(this, "BTopen", QStringLiteral("Открыть существующий словарь"),
                         st->standardIcon(QStyle::SP_DialogOpenButton));
    BTnew = SpeedButton(this, "BTnew", QStringLiteral("Создать новый словарь"), st->standardIcon(QStyle::SP_FileIcon));
    BTfont = SpeedButton(this, "BTfont", QStringLiteral("Сохранить шрифты для словаря"),
                         LetterIcon(QStringLiteral("A"), palette().color(QPalette::ButtonText)));
    BTsave = SpeedButton(this, "BTsave", QStringLiteral("Сохранить изменения"),
                         st->standardIcon(QStyle::SP_DialogSaveButton));
    BTUndo =
        SpeedButton(this, "BTUndo", QStringLiteral("Отменить изменения"), st->standardIcon(QStyle::SP_BrowserReload));
    BTsave->setEnabled(false);
    BTUndo->setEnabled(false);

    DBNavigator = new DictionaryNavigator(table, this);
    DBGridDict = new DictionaryGrid(model, this);
    DBGridDict->setObjectName(QStringLiteral("DBGridDict"));
    DBGridDict->setAccessibleName(QStringLiteral("Слова словаря"));
    DBGridDict->setAccessibleDescription(
        QStringLiteral("Слово, перевод, транскрипция и примечание; Tab переходит к следующей ячейке"));
    DBNavigator->beforeAction = [this] { DBGridDict->CommitEdit(); };

    // The navigator follows every change of the table.
    const auto update = [this] { DBNavigator->UpdateButtons(); };
    connect(model, &QAbstractItemModel::modelReset, this, update);
    connect(model, &QAbstractItemModel::rowsInserted, this, update);
    connect(model, &QAbstractItemModel::rowsRemoved, this, update);
    connect(model, &QAbstractItemModel::headerDataChanged, this, update);
    connect(model, &DictionaryTableModel::CurrentRowChanged, this, update);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(1);
    for (QToolButton* b : {BTopen, BTnew, BTfont}) {
        bar->addWidget(b);
    }
    bar->addSpacing(8);
    bar->addWidget(BTsave);
    bar->addWidget(BTUndo);
    bar->addSpacing(12);
    bar->addWidget(DBNavigator);
    bar->addStretch(1);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(3);
    column->addLayout(bar);
    column->addWidget(DBGridDict, 1);
}

void DictionaryPage::SetColumnFamily(int column, const QString& family)
{
    QFont font = model->Columns()[static_cast<std::size_t>(column)].font;
    if (!family.isEmpty()) {
        font.setFamily(family);
    }
    model->SetColumnFont(column, font);
}

void DictionaryPage::SetTranscriptionFamily(const QString& family)
{
    const TranscriptionDisplay display = TranscriptionDisplay::For(family);
    SetColumnFamily(kColTranscription, display.Family());
    model->SetColumnDisplay(kColTranscription, display);
}

// ---------------------------------------------------------------------------------------------------
// Search panel

DictionarySearchPanel::DictionarySearchPanel(QWidget* parent) : QWidget(parent)
{
    QPalette cream = palette();
    cream.setColor(QPalette::Base, DictionaryGrid::Cream());

    QFont small = font();
    small.setPixelSize(11);
    LBTitFindCol = new QLabel(QStringLiteral("столбец"), this);
    LBTitFindCol->setObjectName(QStringLiteral("LBTitFindCol"));
    LBTitFindCol->setFont(small);
    CBxFieldList = new QComboBox(this);
    CBxFieldList->setObjectName(QStringLiteral("CBxFieldList"));
    CBxFieldList->setEditable(true);
    CBxFieldList->setInsertPolicy(QComboBox::NoInsert);
    // Sorted: "Перевод" comes first.
    CBxFieldList->addItems({QStringLiteral("Перевод"), QStringLiteral("Слово")});
    CBxFieldList->setCurrentIndex(1);
    CBxFieldList->setPalette(cream);
    CBxFieldList->setFixedWidth(110);

    LBTitFindWord = new QLabel(QStringLiteral("слово для поиска в столбце"), this);
    LBTitFindWord->setObjectName(QStringLiteral("LBTitFindWord"));
    LBTitFindWord->setFont(small);
    EdtValue = new QLineEdit(this);
    EdtValue->setObjectName(QStringLiteral("EdtValue"));
    EdtValue->setPalette(cream);
    EdtValue->setFont(PixelFont(QStringLiteral("Arial"), kSearchFontPx));

    BTfind = new QToolButton(this);
    BTfind->setObjectName(QStringLiteral("BTfind"));
    BTfind->setToolTip(QStringLiteral("Найти слово в словаре"));
    BTfind->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    BTfind->setIconSize(QSize(20, 20));
    BTfind->setFixedSize(32, 30);

    CB_FindCase = new QCheckBox(QStringLiteral("Игнорировать регистр"), this);
    CB_FindCase->setObjectName(QStringLiteral("CB_FindCase"));
    CB_FindPartial = new QCheckBox(QStringLiteral("Искать по части слова"), this);
    CB_FindPartial->setObjectName(QStringLiteral("CB_FindPartial"));
    for (QCheckBox* box : {CB_FindCase, CB_FindPartial}) {
        box->setChecked(true);
        box->setFocusPolicy(Qt::ClickFocus); // skipped by Tab
        box->setFont(small);
    }

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 0, 6, 1);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(0);
    grid->addWidget(LBTitFindCol, 0, 0);
    grid->addWidget(CBxFieldList, 1, 0, Qt::AlignVCenter);
    grid->addWidget(LBTitFindWord, 0, 1);
    grid->addWidget(EdtValue, 1, 1);
    grid->addWidget(BTfind, 1, 2, Qt::AlignVCenter);
    auto* options = new QVBoxLayout;
    options->setSpacing(0);
    options->addWidget(CB_FindCase);
    options->addWidget(CB_FindPartial);
    grid->addLayout(options, 0, 3, 2, 1, Qt::AlignVCenter);
    grid->setColumnStretch(1, 1);
}

bool DictionarySearchPanel::TranslationChosen() const
{
    return CBxFieldList->currentIndex() == 0 && CBxFieldList->currentText() == CBxFieldList->itemText(0);
}

void DictionarySearchPanel::SetValueFamily(const QString& family)
{
    QFont font = EdtValue->font();
    if (!family.isEmpty()) {
        font.setFamily(family);
    }
    font.setPixelSize(kSearchFontPx);
    EdtValue->setFont(font);
}

} // namespace vb
