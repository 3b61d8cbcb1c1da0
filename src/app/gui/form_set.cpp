// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/form_set.h"
#include "common/gui/accessible_names.h"

#include "app/gui/form_set_radio_group.h"
#include "app/gui/form_set_spin_edit.h"
#include "common/autostart.h"
#include "voice/gui/voice_lists.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QShowEvent>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace vb {

namespace {

constexpr int kClientWidth = 450;
constexpr int kClientHeight = 241;

QString FromStd(const std::string& s)
{
    return QString::fromStdString(s);
}

// A small flag for the keyboard layout lists, drawn rather than shipped as pictures.
QPixmap LayoutFlag(int index)
{
    constexpr int w = 18;
    constexpr int h = 12;
    QPixmap flag(w, h);
    QPainter p(&flag);
    auto horizontal = [&](std::initializer_list<QColor> colors) {
        int i = 0;
        const int n = static_cast<int>(colors.size());
        for (const QColor& c : colors) {
            p.fillRect(0, i * h / n, w, (i + 1) * h / n - i * h / n, c);
            ++i;
        }
    };
    auto vertical = [&](std::initializer_list<QColor> colors) {
        int i = 0;
        const int n = static_cast<int>(colors.size());
        for (const QColor& c : colors) {
            p.fillRect(i * w / n, 0, (i + 1) * w / n - i * w / n, h, c);
            ++i;
        }
    };
    switch (index) {
    case 0: // American
        for (int i = 0; i < 6; ++i) {
            p.fillRect(0, i * 2, w, 2, i % 2 == 0 ? QColor(178, 34, 52) : Qt::white);
        }
        p.fillRect(0, 0, 8, 6, QColor(60, 59, 110));
        break;
    case 1: // Russian
        horizontal({Qt::white, QColor(0, 57, 166), QColor(213, 43, 30)});
        break;
    case 2: // German
        horizontal({Qt::black, QColor(221, 0, 0), QColor(255, 206, 0)});
        break;
    case 3: // French
        vertical({QColor(0, 35, 149), Qt::white, QColor(237, 41, 57)});
        break;
    case 4: // Italian
        vertical({QColor(0, 146, 70), Qt::white, QColor(206, 43, 55)});
        break;
    default: // Spanish
        horizontal({QColor(170, 21, 27), QColor(241, 191, 0), QColor(241, 191, 0), QColor(170, 21, 27)});
        break;
    }
    p.setPen(QColor(128, 128, 128));
    p.drawRect(0, 0, w - 1, h - 1);
    return flag;
}

// The window's many options have to fit its designed size, which was laid out in a small and narrow face:
// 8 points, smaller where the system's face is wider, until the longest caption fits as it did.
QFont DesignFont(QFont font)
{
    const QString longest = QStringLiteral("Запускать при включении компьютера");
    for (qreal size = 8.0; size >= 6.5; size -= 0.25) {
        font.setPointSizeF(size);
        if (QFontMetrics(font).horizontalAdvance(longest) <= 200) {
            break;
        }
    }
    return font;
}

QLabel* Caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QGridLayout* CompactGrid(QWidget* owner)
{
    auto* grid = new QGridLayout(owner);
    grid->setContentsMargins(5, 4, 5, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    return grid;
}

} // namespace

TForm_Set::TForm_Set(AppContext& ctx, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("Form_Set"));
    setWindowTitle(QStringLiteral("Настройка"));
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(kClientWidth, kClientHeight);
    setFont(DesignFont(font()));

    fontDialog = [this](const QFont& current) -> std::optional<QFont> {
        bool ok = false;
        QFont chosen = QFontDialog::getFont(&ok, current, this);
        if (!ok) {
            return std::nullopt;
        }
        return chosen;
    };
    fontColorDialog = [this](const QFont& font, const QColor& color) { return GetFontAndColor(this, font, color); };

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    layout->addWidget(PageControl);
    CreatePageCommon();
    CreatePageLearning();
    CreatePageCard();
    CreatePageVoice();
    ShowValues();

    folderDialog = [this](const QString& title, const QString& start) -> std::optional<QString> {
        const QString folder = QFileDialog::getExistingDirectory(this, title, start, QFileDialog::ShowDirsOnly);
        if (folder.isEmpty()) {
            return std::nullopt;
        }
        return QDir::toNativeSeparators(folder);
    };
    fileDialog = [this](const QString& title, const QString& filter, const QString& folder,
                        const QString& file) -> std::optional<QString> {
        QFileDialog dialog(this, title, folder, filter);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        if (!file.isEmpty()) {
            dialog.selectFile(file);
        }
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return std::nullopt;
        }
        return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    };
    connect(SB_DirWAVWord, &QToolButton::clicked, this, &TForm_Set::SB_DirWAVWordClick);
    connect(SB_DirWAVTransl, &QToolButton::clicked, this, &TForm_Set::SB_DirWAVTranslClick);
    connect(SB_LibWAVWord, &QToolButton::clicked, this, &TForm_Set::SB_LibWAVWordClick);
    connect(SB_LibWAVTransl, &QToolButton::clicked, this, &TForm_Set::SB_LibWAVTranslClick);
    connect(CBx_SyntWord, &QComboBox::currentIndexChanged, this, &TForm_Set::CBx_SyntWordChange);
    connect(CBx_SyntTransl, &QComboBox::currentIndexChanged, this, &TForm_Set::CBx_SyntTranslChange);

    // FormCreate: the settings, then the voices of the speech engines (which may come in later).
    LoadSettings();
    if (m_ctx.speech) {
        QPointer<TForm_Set> self(this);
        m_ctx.speech->ListVoices([self](const std::vector<SpeechVoice>& voices) {
            if (self) {
                self->ShowVoiceLists(voices);
            }
        });
    }
    connect(this, &QDialog::finished, this, [this] {
        if (m_hooks.modalClosed) {
            m_hooks.modalClosed();
        }
    });
    NameForScreenReaders(this);
}

TForm_Set::~TForm_Set()
{
    // FormDestroy.
    SaveSettings();
}

void TForm_Set::SetHooks(Hooks hooks)
{
    m_hooks = std::move(hooks);
    m_hooksSet = true;
    if (m_loadEffectsPending) {
        m_loadEffectsPending = false;
        RunLoadEffects();
    }
}

// ---------------------------------------------------------------- controls

QCheckBox* TForm_Set::AddCheck(const char* name, const QString& caption, bool SettingsWindowValues::*field)
{
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(QLatin1String(name));
    connect(box, &QCheckBox::toggled, this, [this, field](bool on) {
        if (!m_showing) {
            m_values.*field = on;
        }
    });
    return box;
}

SpinEdit* TForm_Set::AddSpin(const char* name, BoundedInt SettingsWindowValues::*field)
{
    auto* spin = new SpinEdit(this);
    spin->setObjectName(QLatin1String(name));
    spin->setRange((m_values.*field).Min(), (m_values.*field).Max());
    spin->setValue(m_values.*field);
    spin->setFixedWidth(spin->maximum() >= 1000 ? 50 : 42);
    connect(spin, &QSpinBox::valueChanged, this, [this, field](int v) {
        if (!m_showing) {
            (m_values.*field).Set(v);
        }
    });
    return spin;
}

RadioGroup* TForm_Set::AddRadio(const char* name, const QString& title, const QStringList& items, bool horizontal,
                                BoundedInt SettingsWindowValues::*field)
{
    auto* group = new RadioGroup(title, items, horizontal, this);
    group->setObjectName(QLatin1String(name));
    connect(group, &RadioGroup::ItemIndexChanged, this, [this, field](int index) {
        if (!m_showing) {
            (m_values.*field).Set(index);
        }
    });
    return group;
}

QLineEdit* TForm_Set::AddPathEdit(const char* name, std::string SettingsWindowValues::*field)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QLatin1String(name));
    connect(edit, &QLineEdit::textChanged, this, [this, field](const QString& text) {
        if (!m_showing) {
            m_values.*field = text.toStdString();
        }
    });
    return edit;
}

QComboBox* TForm_Set::AddVoiceList(const char* name, std::string SettingsWindowValues::*field)
{
    auto* list = new QComboBox(this);
    list->setObjectName(QLatin1String(name));
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    connect(list, &QComboBox::editTextChanged, this, [this, field](const QString& text) {
        if (!m_showing) {
            m_values.*field = text.toStdString();
        }
    });
    return list;
}

QComboBox* TForm_Set::AddLayoutList(const char* name, BoundedInt SettingsWindowValues::*field)
{
    static const char* const kLayouts[] = {"Американская", "Русская",     "Немецкая",
                                           "Французская",  "Итальянская", "Испанская"};
    auto* list = new QComboBox(this);
    list->setObjectName(QLatin1String(name));
    list->setToolTip(QStringLiteral("Раскладка клавиатуры"));
    for (int i = 0; i < 6; ++i) {
        list->addItem(QIcon(LayoutFlag(i)), QString::fromUtf8(kLayouts[i]));
    }
    connect(list, &QComboBox::currentIndexChanged, this, [this, field](int index) {
        if (!m_showing && index >= 0) {
            (m_values.*field).Set(index);
        }
    });
    return list;
}

void TForm_Set::CreatePageCommon()
{
    auto* page = new QWidget(PageControl);
    PageControl->addTab(page, QStringLiteral("Общие"));
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(4);

    GBox_Params = new QGroupBox(QStringLiteral("Параметры"), page);
    GBox_Params->setObjectName(QStringLiteral("GBox_Params"));
    CB_Start =
        AddCheck("CB_Start", QStringLiteral("Запускать при включении компьютера"), &SettingsWindowValues::CB_Start);
    CB_Top = AddCheck("CB_Top", QStringLiteral("Всплывать поверх всех окон"), &SettingsWindowValues::CB_Top);
    CB_StartTray =
        AddCheck("CB_StartTray", QStringLiteral("Сворачиваться при запуске"), &SettingsWindowValues::CB_StartTray);
    CB_TrayEndEx = AddCheck("CB_TrayEndEx", QStringLiteral("Сворачиваться в конце упражнения"),
                            &SettingsWindowValues::CB_TrayEndEx);
    CB_Card = AddCheck("CB_Card", QStringLiteral("Показывать карточки слов"), &SettingsWindowValues::CB_Card);
    CB_PopUp = AddCheck("CB_PopUp", QStringLiteral("Разворачиваться через"), &SettingsWindowValues::CB_PopUp);
    SE_TimeHide = AddSpin("SE_TimeHide", &SettingsWindowValues::SE_TimeHide);
    CB_Voice = AddCheck("CB_Voice", QStringLiteral("Включить схему озвучивания"), &SettingsWindowValues::CB_Voice);
    connect(CB_Voice, &QCheckBox::toggled, this, &TForm_Set::CB_VoiceClick);
    {
        auto* grid = CompactGrid(GBox_Params);
        QCheckBox* checks[] = {CB_Start, CB_Top, CB_StartTray, CB_TrayEndEx, CB_Card};
        int r = 0;
        for (QCheckBox* box : checks) {
            grid->addWidget(box, r++, 0, 1, 3);
        }
        grid->addWidget(CB_PopUp, r, 0);
        grid->addWidget(SE_TimeHide, r, 1);
        grid->addWidget(Caption(QStringLiteral("мин."), GBox_Params), r++, 2);
        grid->addWidget(CB_Voice, r++, 0, 1, 3);
        grid->setColumnStretch(2, 1);
        grid->setRowStretch(r, 1);
    }
    row->addWidget(GBox_Params);

    GBox_Fonts = new QGroupBox(QStringLiteral("Шрифты словаря по умолчанию"), page);
    GBox_Fonts->setObjectName(QStringLiteral("GBox_Fonts"));
    auto makeSample = [this](const char* name, const QString& sample) {
        auto* label = new QLabel(sample, GBox_Fonts);
        label->setObjectName(QLatin1String(name));
        label->setTextFormat(Qt::PlainText);
        label->setFrameShape(QFrame::StyledPanel);
        label->setAlignment(Qt::AlignCenter);
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
        return label;
    };
    LB_WordFont = makeSample("LB_WordFont", QStringLiteral("AaYy ЬдЯ"));
    LB_TrslFont = makeSample("LB_TrslFont", QStringLiteral("AaYy АаБбУу"));
    LB_TrscFont = makeSample("LB_TrscFont", QStringLiteral("QAZxCАаБб"));
    CBE_Word = AddLayoutList("CBE_Word", &SettingsWindowValues::CBE_Word);
    CBE_Trsl = AddLayoutList("CBE_Trsl", &SettingsWindowValues::CBE_Trsl);
    // The first item starts with a Latin "C", as the design has it.
    RG_TesFontSH =
        AddRadio("RG_TesFontSH", QStringLiteral("Шрифт тезауруса как"),
                 {QStringLiteral("Cлово"), QStringLiteral("Перевод")}, true, &SettingsWindowValues::RG_TesFontSH);
    {
        auto* grid = CompactGrid(GBox_Fonts);
        grid->addWidget(Caption(QStringLiteral("Слово"), GBox_Fonts), 0, 0);
        grid->addWidget(LB_WordFont, 0, 1);
        grid->addWidget(CBE_Word, 1, 0, 1, 2);
        grid->addWidget(Caption(QStringLiteral("Перевод"), GBox_Fonts), 2, 0);
        grid->addWidget(LB_TrslFont, 2, 1);
        grid->addWidget(CBE_Trsl, 3, 0, 1, 2);
        grid->addWidget(Caption(QStringLiteral("Транскрипция"), GBox_Fonts), 4, 0);
        grid->addWidget(LB_TrscFont, 4, 1);
        grid->addWidget(RG_TesFontSH, 5, 0, 1, 2);
        grid->setColumnStretch(1, 1);
        grid->setRowStretch(6, 1);
    }
    row->addWidget(GBox_Fonts, 1);
}

void TForm_Set::CreatePageLearning()
{
    auto* page = new QWidget(PageControl);
    PageControl->addTab(page, QStringLiteral("Обучение"));
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(4);

    GBox_Ball = new QGroupBox(QStringLiteral("Подсчёт баллов"), page);
    GBox_Ball->setObjectName(QStringLiteral("GBox_Ball"));
    SE_Var_Ball = AddSpin("SE_Var_Ball", &SettingsWindowValues::SE_Var_Ball);
    SE_Var_Straf = AddSpin("SE_Var_Straf", &SettingsWindowValues::SE_Var_Straf);
    SE_Var_Stop = AddSpin("SE_Var_Stop", &SettingsWindowValues::SE_Var_Stop);
    SE_Moz_Ball = AddSpin("SE_Moz_Ball", &SettingsWindowValues::SE_Moz_Ball);
    SE_Moz_Straf = AddSpin("SE_Moz_Straf", &SettingsWindowValues::SE_Moz_Straf);
    SE_Moz_Stop = AddSpin("SE_Moz_Stop", &SettingsWindowValues::SE_Moz_Stop);
    SE_Enter_Ball = AddSpin("SE_Enter_Ball", &SettingsWindowValues::SE_Enter_Ball);
    SE_Enter_Straf = AddSpin("SE_Enter_Straf", &SettingsWindowValues::SE_Enter_Straf);
    SE_Enter_Stop = AddSpin("SE_Enter_Stop", &SettingsWindowValues::SE_Enter_Stop);
    SE_Ball_Len = AddSpin("SE_Ball_Len", &SettingsWindowValues::SE_Ball_Len);
    SE_Ball_Letter = AddSpin("SE_Ball_Letter", &SettingsWindowValues::SE_Ball_Letter);
    SE_Ball_Letter->setToolTip(QStringLiteral("За каждый неправильный символ"));
    SE_Ball_Word = AddSpin("SE_Ball_Word", &SettingsWindowValues::SE_Ball_Word);
    SE_Ball_Word->setToolTip(QStringLiteral("За каждое неправильное слово"));
    RG_Shtraf = AddRadio("RG_Shtraf", QStringLiteral("Штрафовать"),
                         {QStringLiteral("Задание"), QStringLiteral("Ответ"), QStringLiteral("Всё")}, true,
                         &SettingsWindowValues::RG_Shtraf);
    {
        auto* grid = CompactGrid(GBox_Ball);
        grid->addWidget(Caption(QStringLiteral("Балл"), GBox_Ball), 0, 1, Qt::AlignHCenter);
        grid->addWidget(Caption(QStringLiteral("Штраф"), GBox_Ball), 0, 2, Qt::AlignHCenter);
        grid->addWidget(Caption(QStringLiteral("Выучено"), GBox_Ball), 0, 3, Qt::AlignHCenter);
        const QString rows[] = {QStringLiteral("Вариант"), QStringLiteral("Мозаика"), QStringLiteral("Написание")};
        SpinEdit* spins[3][3] = {{SE_Var_Ball, SE_Var_Straf, SE_Var_Stop},
                                 {SE_Moz_Ball, SE_Moz_Straf, SE_Moz_Stop},
                                 {SE_Enter_Ball, SE_Enter_Straf, SE_Enter_Stop}};
        for (int r = 0; r < 3; ++r) {
            grid->addWidget(Caption(rows[r], GBox_Ball), r + 1, 0);
            for (int c = 0; c < 3; ++c) {
                grid->addWidget(spins[r][c], r + 1, c + 1);
            }
        }
        grid->addWidget(Caption(QStringLiteral("Снимать баллы при подсказке :"), GBox_Ball), 4, 0, 1, 4);
        grid->addWidget(Caption(QStringLiteral("Длины"), GBox_Ball), 5, 1, Qt::AlignHCenter);
        grid->addWidget(Caption(QStringLiteral("Буквы"), GBox_Ball), 5, 2, Qt::AlignHCenter);
        grid->addWidget(Caption(QStringLiteral("Слова"), GBox_Ball), 5, 3, Qt::AlignHCenter);
        grid->addWidget(SE_Ball_Len, 6, 1);
        grid->addWidget(SE_Ball_Letter, 6, 2);
        grid->addWidget(SE_Ball_Word, 6, 3);
        grid->addWidget(RG_Shtraf, 7, 0, 1, 4);
        grid->setRowStretch(8, 1);
    }
    row->addWidget(GBox_Ball);

    auto* right = new QVBoxLayout;
    right->setSpacing(2);
    RG_WordShow = AddRadio("RG_WordShow", QStringLiteral("Учить"),
                           {QStringLiteral("Слово"), QStringLiteral("Перевод"), QStringLiteral("Всё")}, false,
                           &SettingsWindowValues::RG_WordShow);
    RG_Transc = AddRadio("RG_Transc", QStringLiteral("Транскрипция"),
                         {QStringLiteral("Показывать"), QStringLiteral("Не показывать"), QStringLiteral("Динамически")},
                         false, &SettingsWindowValues::RG_Transc);
    auto* radios = new QHBoxLayout;
    radios->setSpacing(4);
    radios->addWidget(RG_WordShow);
    radios->addWidget(RG_Transc, 1);
    right->addLayout(radios);
    CB_Sort = AddCheck("CB_Sort", QStringLiteral("Упорядочивать ответы по алфавиту"), &SettingsWindowValues::CB_Sort);
    right->addWidget(CB_Sort);

    GBox_Mode = new QGroupBox(QStringLiteral("Режим обучения"), page);
    GBox_Mode->setObjectName(QStringLiteral("GBox_Mode"));
    SE_CountWLs = AddSpin("SE_CountWLs", &SettingsWindowValues::SE_CountWLs);
    SE_CountWEx = AddSpin("SE_CountWEx", &SettingsWindowValues::SE_CountWEx);
    SE_CountVar = AddSpin("SE_CountVar", &SettingsWindowValues::SE_CountVar);
    SE_CountMoz = AddSpin("SE_CountMoz", &SettingsWindowValues::SE_CountMoz);
    {
        auto* grid = CompactGrid(GBox_Mode);
        const QString captions[] = {
            QStringLiteral("Количество заучиваемых слов"), QStringLiteral("Количество слов в упражнении"),
            QStringLiteral("Количество вариантов перевода"), QStringLiteral("Количество слов в мозаике")};
        SpinEdit* spins[] = {SE_CountWLs, SE_CountWEx, SE_CountVar, SE_CountMoz};
        for (int r = 0; r < 4; ++r) {
            grid->addWidget(Caption(captions[r], GBox_Mode), r, 0);
            grid->addWidget(spins[r], r, 1);
        }
        grid->setColumnStretch(0, 1);
    }
    right->addWidget(GBox_Mode);

    // Spaced review: learned words come back when they are about to be forgotten.
    CB_Review = AddCheck("CB_Review", QStringLiteral("Повторять выученные слова"), &SettingsWindowValues::CB_Review);
    SE_Retention = AddSpin("SE_Retention", &SettingsWindowValues::SE_Retention);
    SE_Retention->setToolTip(QStringLiteral("Удержание: желаемая доля вспоминаемых слов, %"));
    connect(CB_Review, &QCheckBox::toggled, SE_Retention, &QWidget::setEnabled);
    {
        // One row: the page has no height to spare.
        auto* review = new QHBoxLayout;
        review->setSpacing(2);
        review->addWidget(CB_Review, 1);
        review->addWidget(SE_Retention);
        review->addWidget(Caption(QStringLiteral("%"), page));
        right->addLayout(review);
    }
    right->addStretch(1);
    row->addLayout(right, 1);
}

void TForm_Set::CreatePageCard()
{
    auto* page = new QWidget(PageControl);
    PageControl->addTab(page, QStringLiteral("Карточка"));
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);

    CB_CardShowTrsc = AddCheck("CB_CardShowTrsc", QStringLiteral("Показывать транскрипцию в карточке"),
                               &SettingsWindowValues::CB_CardShowTrsc);
    CB_CardShowTesaurus = AddCheck("CB_CardShowTesaurus", QStringLiteral("Показывать тезаурус в карточке слова"),
                                   &SettingsWindowValues::CB_CardShowTesaurus);
    SE_TimeWord = AddSpin("SE_TimeWord", &SettingsWindowValues::SE_TimeWord);
    SE_TimeTransl = AddSpin("SE_TimeTransl", &SettingsWindowValues::SE_TimeTransl);
    LB_TimeTrsc = Caption(QStringLiteral("Время показа тезауруса - расчётное"), page);
    LB_TimeTrsc->setObjectName(QStringLiteral("LB_TimeTrsc"));

    grid->addWidget(CB_CardShowTrsc, 0, 0, 1, 3);
    grid->addWidget(CB_CardShowTesaurus, 1, 0, 1, 3);
    grid->addWidget(Caption(QStringLiteral("Время показа задания не менее"), page), 2, 0);
    grid->addWidget(SE_TimeWord, 2, 1);
    grid->addWidget(Caption(QStringLiteral("сек."), page), 2, 2);
    grid->addWidget(Caption(QStringLiteral("Время показа ответа не менее"), page), 3, 0);
    grid->addWidget(SE_TimeTransl, 3, 1);
    grid->addWidget(Caption(QStringLiteral("сек."), page), 3, 2);
    grid->addWidget(LB_TimeTrsc, 4, 0, 1, 3);

    GBox_CardVoice = new QGroupBox(page);
    GBox_CardVoice->setObjectName(QStringLiteral("GBox_CardVoice"));
    CB_CardVoiceWord =
        AddCheck("CB_CardVoiceWord", QStringLiteral("Озвучивать задание"), &SettingsWindowValues::CB_CardVoiceWord);
    CB_CardVoiceTransl =
        AddCheck("CB_CardVoiceTransl", QStringLiteral("Озвучивать ответ"), &SettingsWindowValues::CB_CardVoiceTransl);
    CB_CardVoiceTesaurus = AddCheck("CB_CardVoiceTesaurus", QStringLiteral("Озвучивать тезаурус"),
                                    &SettingsWindowValues::CB_CardVoiceTesaurus);
    {
        auto* box = new QVBoxLayout(GBox_CardVoice);
        box->setContentsMargins(6, 4, 6, 4);
        box->setSpacing(2);
        box->addWidget(CB_CardVoiceWord);
        box->addWidget(CB_CardVoiceTransl);
        box->addWidget(CB_CardVoiceTesaurus);
    }
    RG_CardLW = AddRadio("RG_CardLW", QStringLiteral("Слова в карточке"),
                         {QStringLiteral("Весь словарь"), QStringLiteral("Заучиваемые")}, false,
                         &SettingsWindowValues::RG_CardLW);
    auto* column = new QVBoxLayout;
    column->setSpacing(4);
    column->addWidget(GBox_CardVoice);
    column->addWidget(RG_CardLW);
    column->addStretch(1);
    grid->addLayout(column, 0, 3, 6, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(5, 1);
}

void TForm_Set::CreatePageVoice()
{
    auto* page = new QWidget(PageControl);
    PageControl->addTab(page, QStringLiteral("Озвучивание"));
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(4);

    auto browse = [this](const char* name, QWidget* parent) {
        auto* button = new QToolButton(parent);
        button->setObjectName(QLatin1String(name));
        button->setText(QStringLiteral("..."));
        return button;
    };
    auto pathGroup = [&](QGroupBox*& group, const char* groupName, const QString& title, QLineEdit* word,
                         QToolButton* wordButton, QLineEdit* transl, QToolButton* translButton) {
        group = new QGroupBox(title, page);
        group->setObjectName(QLatin1String(groupName));
        auto* grid = CompactGrid(group);
        grid->addWidget(Caption(QStringLiteral("Слово"), group), 0, 0);
        grid->addWidget(word, 0, 1);
        grid->addWidget(wordButton, 0, 2);
        grid->addWidget(Caption(QStringLiteral("Перевод"), group), 1, 0);
        grid->addWidget(transl, 1, 1);
        grid->addWidget(translButton, 1, 2);
    };

    auto* left = new QVBoxLayout;
    left->setSpacing(0);
    ED_DirWAVWord = AddPathEdit("ED_DirWAVWord", &SettingsWindowValues::ED_DirWAVWord);
    ED_DirWAVTransl = AddPathEdit("ED_DirWAVTransl", &SettingsWindowValues::ED_DirWAVTransl);
    SB_DirWAVWord = browse("SB_DirWAVWord", this);
    SB_DirWAVTransl = browse("SB_DirWAVTransl", this);
    pathGroup(GBox_DirWAV, "GBox_DirWAV", QStringLiteral("Каталог со звуковыми файлами"), ED_DirWAVWord, SB_DirWAVWord,
              ED_DirWAVTransl, SB_DirWAVTransl);
    left->addWidget(GBox_DirWAV);

    ED_LibWAVWord = AddPathEdit("ED_LibWAVWord", &SettingsWindowValues::ED_LibWAVWord);
    ED_LibWAVTransl = AddPathEdit("ED_LibWAVTransl", &SettingsWindowValues::ED_LibWAVTransl);
    SB_LibWAVWord = browse("SB_LibWAVWord", this);
    SB_LibWAVTransl = browse("SB_LibWAVTransl", this);
    pathGroup(GBox_LibWAV, "GBox_LibWAV", QStringLiteral("Библиотека звуковых файлов Platinum 2002"), ED_LibWAVWord,
              SB_LibWAVWord, ED_LibWAVTransl, SB_LibWAVTransl);
    left->addWidget(GBox_LibWAV);

    GBox_Synt = new QGroupBox(QStringLiteral("Речевой синтез"), page);
    GBox_Synt->setObjectName(QStringLiteral("GBox_Synt"));
    CBx_SyntWord = AddVoiceList("CBx_SyntWord", &SettingsWindowValues::CBx_SyntWord);
    CBx_SyntTransl = AddVoiceList("CBx_SyntTransl", &SettingsWindowValues::CBx_SyntTransl);
    {
        auto* grid = CompactGrid(GBox_Synt);
        grid->addWidget(Caption(QStringLiteral("Слово"), GBox_Synt), 0, 0);
        grid->addWidget(CBx_SyntWord, 0, 1);
        grid->addWidget(Caption(QStringLiteral("Перевод"), GBox_Synt), 1, 0);
        grid->addWidget(CBx_SyntTransl, 1, 1);
        grid->setColumnStretch(1, 1);
    }
    left->addWidget(GBox_Synt);
    left->addStretch(1);
    row->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    right->setSpacing(2);
    RG_Voice = AddRadio("RG_Voice", QStringLiteral("Схема озвучивания"),
                        {QStringLiteral("только каталог"), QStringLiteral("только библиотека"),
                         QStringLiteral("только синтез"), QStringLiteral("по приоритету")},
                        false, &SettingsWindowValues::RG_Voice);
    right->addWidget(RG_Voice);
    GBox_Pos = new QGroupBox(QStringLiteral("Приоритеты"), page);
    GBox_Pos->setObjectName(QStringLiteral("GBox_Pos"));
    GBox_Pos->setToolTip(QStringLiteral("1 - начинает, 3 - заканчивает, 0 - отключено"));
    SE_PosDir = AddSpin("SE_PosDir", &SettingsWindowValues::SE_PosDir);
    SE_PosLib = AddSpin("SE_PosLib", &SettingsWindowValues::SE_PosLib);
    SE_PosSynt = AddSpin("SE_PosSynt", &SettingsWindowValues::SE_PosSynt);
    {
        auto* grid = CompactGrid(GBox_Pos);
        const QString captions[] = {QStringLiteral("каталог"), QStringLiteral("библиотека"),
                                    QStringLiteral("синтез речи")};
        SpinEdit* spins[] = {SE_PosDir, SE_PosLib, SE_PosSynt};
        for (int r = 0; r < 3; ++r) {
            grid->addWidget(spins[r], r, 0);
            grid->addWidget(Caption(captions[r], GBox_Pos), r, 1);
        }
        grid->setColumnStretch(1, 1);
    }
    right->addWidget(GBox_Pos);
    right->addStretch(1);
    row->addLayout(right);
}

// ---------------------------------------------------------------- values

void TForm_Set::ShowValues()
{
    // The write-back of the controls is held off; the click handlers still run for changed check boxes.
    const SettingsWindowValues v = m_values;
    m_showing = true;
    CB_Card->setChecked(v.CB_Card);
    CB_PopUp->setChecked(v.CB_PopUp);
    CB_Start->setChecked(v.CB_Start);
    CB_StartTray->setChecked(v.CB_StartTray);
    CB_Top->setChecked(v.CB_Top);
    CB_TrayEndEx->setChecked(v.CB_TrayEndEx);
    CB_Voice->setChecked(v.CB_Voice);
    SE_TimeHide->setValue(v.SE_TimeHide);

    auto showFont = [](QLabel* label, const std::string& name) {
        QFont font = label->font();
        font.setFamily(FromStd(name));
        label->setFont(font);
    };
    showFont(LB_WordFont, v.LB_WordFont);
    showFont(LB_TrslFont, v.LB_TrslFont);
    showFont(LB_TrscFont, v.LB_TrscFont);
    RG_TesFontSH->SetItemIndex(v.RG_TesFontSH);
    CBE_Word->setCurrentIndex(v.CBE_Word);
    CBE_Trsl->setCurrentIndex(v.CBE_Trsl);

    RG_Shtraf->SetItemIndex(v.RG_Shtraf);
    SE_Ball_Len->setValue(v.SE_Ball_Len);
    SE_Ball_Letter->setValue(v.SE_Ball_Letter);
    SE_Ball_Word->setValue(v.SE_Ball_Word);
    SE_Enter_Ball->setValue(v.SE_Enter_Ball);
    SE_Enter_Stop->setValue(v.SE_Enter_Stop);
    SE_Enter_Straf->setValue(v.SE_Enter_Straf);
    SE_Moz_Ball->setValue(v.SE_Moz_Ball);
    SE_Moz_Stop->setValue(v.SE_Moz_Stop);
    SE_Moz_Straf->setValue(v.SE_Moz_Straf);
    SE_Var_Ball->setValue(v.SE_Var_Ball);
    SE_Var_Stop->setValue(v.SE_Var_Stop);
    SE_Var_Straf->setValue(v.SE_Var_Straf);
    RG_WordShow->SetItemIndex(v.RG_WordShow);
    RG_Transc->SetItemIndex(v.RG_Transc);
    CB_Sort->setChecked(v.CB_Sort);
    SE_CountMoz->setValue(v.SE_CountMoz);
    SE_CountVar->setValue(v.SE_CountVar);
    SE_CountWEx->setValue(v.SE_CountWEx);
    SE_CountWLs->setValue(v.SE_CountWLs);
    CB_Review->setChecked(v.CB_Review);
    SE_Retention->setValue(v.SE_Retention);
    SE_Retention->setEnabled(v.CB_Review);

    CB_CardShowTesaurus->setChecked(v.CB_CardShowTesaurus);
    CB_CardShowTrsc->setChecked(v.CB_CardShowTrsc);
    SE_TimeTransl->setValue(v.SE_TimeTransl);
    SE_TimeWord->setValue(v.SE_TimeWord);
    CB_CardVoiceTesaurus->setChecked(v.CB_CardVoiceTesaurus);
    CB_CardVoiceTransl->setChecked(v.CB_CardVoiceTransl);
    CB_CardVoiceWord->setChecked(v.CB_CardVoiceWord);
    RG_CardLW->SetItemIndex(v.RG_CardLW);

    ED_DirWAVTransl->setText(FromStd(v.ED_DirWAVTransl));
    ED_DirWAVWord->setText(FromStd(v.ED_DirWAVWord));
    ED_LibWAVTransl->setText(FromStd(v.ED_LibWAVTransl));
    ED_LibWAVWord->setText(FromStd(v.ED_LibWAVWord));
    // A voice list selects the item that carries the stored name exactly; a name that is not installed
    // stays as the list's text with nothing selected.
    auto showVoice = [](QComboBox* list, const std::string& name) {
        const QString text = FromStd(name);
        list->setCurrentIndex(list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
        list->setEditText(text);
    };
    showVoice(CBx_SyntTransl, v.CBx_SyntTransl);
    showVoice(CBx_SyntWord, v.CBx_SyntWord);
    RG_Voice->SetItemIndex(v.RG_Voice);
    SE_PosDir->setValue(v.SE_PosDir);
    SE_PosLib->setValue(v.SE_PosLib);
    SE_PosSynt->setValue(v.SE_PosSynt);
    m_showing = false;
}

void TForm_Set::ApplyValues(const SettingsWindowValues& values)
{
    m_values = values;
    ShowValues();
}

std::string TForm_Set::PupilKey() const
{
    if (m_hooks.pupilKey) {
        return m_hooks.pupilKey();
    }
    // Before the lesson window has handed its hooks over (the load at creation): the pupil it has just
    // read from the same store.
    std::string pupil = m_ctx.registry ? m_ctx.registry->ReadString(kVerbantaKey, kCurrentPupilValue).value_or("") : "";
    if (pupil.empty()) {
        pupil = "Default";
    }
    return std::string(kVerbantaKey) + "\\" + pupil;
}

void TForm_Set::LoadSettings()
{
    if (!m_ctx.registry) {
        return;
    }
    m_lastLoad = vb::LoadSettings(*m_ctx.registry, PupilKey(), m_values);
    ShowValues();
    if (m_hooksSet) {
        RunLoadEffects();
    } else {
        m_loadEffectsPending = true;
    }
}

void TForm_Set::RunLoadEffects()
{
    if (m_lastLoad.Read("SetCB_Top") && m_hooks.setTopmost) {
        m_hooks.setTopmost(m_values.CB_Top);
    }
    if (m_lastLoad.Read("SetCB_Voice")) {
        CB_VoiceClick();
    }
    SelectVoice(true);
    SelectVoice(false);
    if (m_hooks.loadLibraryIndexes) {
        m_hooks.loadLibraryIndexes();
    }
    if (m_hooks.settingsLoaded) {
        m_hooks.settingsLoaded();
    }
}

void TForm_Set::SaveSettings()
{
    if (!m_ctx.registry) {
        return;
    }
    AutostartTarget autostart;
    autostart.entryPath = m_ctx.paths.AutostartEntry();
    autostart.executablePath = QCoreApplication::applicationFilePath().toStdString();
    autostart.registry = m_ctx.registry.get();
    vb::SaveSettings(*m_ctx.registry, PupilKey(), m_values, &autostart);
}

void TForm_Set::SetVoice(bool on)
{
    CB_Voice->setChecked(on);
}

void TForm_Set::CB_VoiceClick()
{
    if (m_hooks.voiceMenu) {
        m_hooks.voiceMenu(m_values.CB_Voice);
    }
}

// ---------------------------------------------------------------- sound folders, library and voices

void TForm_Set::ChooseFolder(QLineEdit* edit)
{
    if (!folderDialog) {
        return;
    }
    if (const auto folder = folderDialog(QStringLiteral("Выберите каталог с звуковыми файлами"), edit->text())) {
        edit->setText(*folder);
    }
}

void TForm_Set::SB_DirWAVWordClick()
{
    ChooseFolder(ED_DirWAVWord);
}

void TForm_Set::SB_DirWAVTranslClick()
{
    ChooseFolder(ED_DirWAVTransl);
}

void TForm_Set::ChooseLibraryIndex(QLineEdit* edit, const QString& title)
{
    if (!fileDialog) {
        return;
    }
    const QString current = edit->text();
    const QString folder = current.isEmpty() ? QDir::rootPath() : QFileInfo(current).absolutePath();
    if (const auto file = fileDialog(title, QStringLiteral("Библиотека Platinum (dic.txt)"), folder, current)) {
        // The new index is read when the window closes.
        edit->setText(*file);
    }
}

void TForm_Set::SB_LibWAVWordClick()
{
    ChooseLibraryIndex(ED_LibWAVWord, QStringLiteral("Открыть Библиотеку Слов Platinum"));
}

void TForm_Set::SB_LibWAVTranslClick()
{
    ChooseLibraryIndex(ED_LibWAVTransl, QStringLiteral("Открыть Библиотеку Переводов Platinum"));
}

void TForm_Set::ShowVoiceLists(const std::vector<SpeechVoice>& voices)
{
    // Each list puts the voices of its own side's language first, then those of the other side.
    const std::string wordLanguage = LayoutLanguage(m_values.CBE_Word);
    const std::string translLanguage = LayoutLanguage(m_values.CBE_Trsl);
    m_showing = true;
    FillVoiceList(CBx_SyntWord, voices, VoiceListOrder(voices, wordLanguage, translLanguage));
    FillVoiceList(CBx_SyntTransl, voices, VoiceListOrder(voices, translLanguage, wordLanguage));
    m_showing = false;
    SelectVoice(true);
    SelectVoice(false);
}

void TForm_Set::SelectVoice(bool isWord)
{
    const int voice = SelectedVoiceNumber(isWord ? CBx_SyntWord : CBx_SyntTransl);
    if (voice < 0 || !m_ctx.speech) {
        return;
    }
    m_ctx.speech->SelectVoice(isWord, voice);
}

void TForm_Set::CBx_SyntWordChange()
{
    if (!m_showing) {
        SelectVoice(true);
    }
}

void TForm_Set::CBx_SyntTranslChange()
{
    if (!m_showing) {
        SelectVoice(false);
    }
}

// ---------------------------------------------------------------- fonts

void TForm_Set::EditFont(QLabel* label, std::string SettingsWindowValues::*name)
{
    // Size and style travel with the label; only the name is a stored setting (the character set stays,
    // as fonts here are not bound to one).
    std::optional<QFont> chosen = fontDialog ? fontDialog(label->font()) : std::nullopt;
    if (!chosen) {
        return;
    }
    label->setFont(*chosen);
    m_values.*name = chosen->family().toStdString();
}

void TForm_Set::LB_WordFontClick()
{
    EditFont(LB_WordFont, &SettingsWindowValues::LB_WordFont);
}

void TForm_Set::LB_TrslFontClick()
{
    EditFont(LB_TrslFont, &SettingsWindowValues::LB_TrslFont);
}

void TForm_Set::LB_TrscFontClick()
{
    EditFont(LB_TrscFont, &SettingsWindowValues::LB_TrscFont);
}

bool TForm_Set::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == LB_WordFont) {
            LB_WordFontClick();
            return true;
        }
        if (watched == LB_TrslFont) {
            LB_TrslFontClick();
            return true;
        }
        if (watched == LB_TrscFont) {
            LB_TrscFontClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------- showing and closing

void TForm_Set::ShowPage(int index)
{
    if (index >= 0 && index < PageControl->count()) {
        PageControl->setCurrentIndex(index);
    }
    // Centred on the lesson window, the program's one main window.
    QRect area;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMainWindow*>(w) && w->isVisible()) {
            area = w->frameGeometry();
            break;
        }
    }
    if (area.isNull()) {
        if (const QScreen* screen = QApplication::primaryScreen()) {
            area = screen->availableGeometry();
        }
    }
    if (!area.isNull()) {
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    // Modal for the whole program, yet without a local event loop: the caller goes on, and the end of the
    // modal run is reported through the finished signal.
    setResult(0);
    show();
    activateWindow();
}

void TForm_Set::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TForm_Set::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous()) {
        FormHide();
    }
}

void TForm_Set::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    // Another window of the program became the active one: the settings window closes, applying.
    if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow()) {
        QWidget* active = QApplication::activeWindow();
        if (active != nullptr && active != this) {
            QTimer::singleShot(0, this, [this] {
                if (isVisible() && !isActiveWindow()) {
                    close();
                }
            });
        }
    }
}

void TForm_Set::FormShow()
{
    if (m_hooks.setTopmost) {
        m_hooks.setTopmost(false);
    }
    if (m_hooks.setDialogOpen) {
        m_hooks.setDialogOpen(true);
    }
}

void TForm_Set::FormHide()
{
    // A spin edit still being edited takes its value as if it had lost the focus.
    PageControl->setFocus();
    for (SpinEdit* spin : findChildren<SpinEdit*>()) {
        spin->Commit();
    }
    if (m_hooks.saveLearningSettings) {
        m_hooks.saveLearningSettings();
    }
    SaveSettings();
    if (m_hooks.saveCardSettings) {
        m_hooks.saveCardSettings();
    }
    if (m_hooks.loadLibraryIndexes) {
        m_hooks.loadLibraryIndexes();
    }
    if (m_hooks.setTopmost) {
        m_hooks.setTopmost(m_values.CB_Top);
    }
    if (m_hooks.pageControlChange) {
        m_hooks.pageControlChange();
    }
    if (m_hooks.setDialogOpen) {
        m_hooks.setDialogOpen(false);
    }
}

} // namespace vb
