// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/gui/text_page.h"

#include "app/gui/color_menus.h"
#include "app/gui/form_set_spin_edit.h"
#include "common/files.h"
#include "common/strings.h"
#include "dictionary/dictionary_encoding.h"
#include "engine/settings.h"
#include "text/frequency.h"
#include "text/gui/text_search_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QEventLoop>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStyle>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

#include <thread>

namespace vb {

namespace {

QString Native(const std::string& path)
{
    return QString::fromStdString(path);
}

// Drawn pictures for the buttons that the desktop's icon theme may lack: the program looks the same on
// every desktop.
enum class Glyph { Cut, Copy, Paste, Font, Find, Replace, Create };

QIcon DrawnIcon(Glyph glyph)
{
    QPixmap pixmap(36, 36);
    pixmap.setDevicePixelRatio(2.0);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(60, 60, 70);
    const QColor paper(255, 255, 255);
    const QColor accent(40, 110, 200);
    p.setPen(QPen(ink, 1.2));
    switch (glyph) {
    case Glyph::Cut:
        p.drawLine(QPointF(5, 2), QPointF(12, 12));
        p.drawLine(QPointF(13, 2), QPointF(6, 12));
        p.setPen(QPen(accent, 1.4));
        p.drawEllipse(QPointF(5, 14.5), 2.6, 2.6);
        p.drawEllipse(QPointF(13, 14.5), 2.6, 2.6);
        break;
    case Glyph::Copy:
        p.setBrush(paper);
        p.drawRect(QRectF(2.5, 2.5, 9, 11));
        p.drawRect(QRectF(6.5, 5.5, 9, 11));
        p.setPen(QPen(accent, 1));
        for (double y : {8.5, 11.0, 13.5}) {
            p.drawLine(QPointF(8.5, y), QPointF(13.5, y));
        }
        break;
    case Glyph::Paste:
        p.setBrush(QColor(205, 160, 90));
        p.drawRoundedRect(QRectF(2.5, 3.5, 11, 13), 1.5, 1.5);
        p.setBrush(QColor(150, 150, 160));
        p.drawRect(QRectF(5.5, 2, 5, 3));
        p.setBrush(paper);
        p.drawRect(QRectF(7.5, 7.5, 8, 9));
        break;
    case Glyph::Font: {
        QFont f(QStringLiteral("Serif"));
        f.setPixelSize(15);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(0, 0, 18, 18), Qt::AlignCenter, QStringLiteral("A"));
        break;
    }
    case Glyph::Find:
    case Glyph::Replace:
        p.setPen(QPen(ink, 1.6));
        p.setBrush(QColor(220, 235, 250));
        p.drawEllipse(QPointF(7, 7), 4.5, 4.5);
        p.setPen(QPen(ink, 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10.5, 10.5), QPointF(15, 15));
        if (glyph == Glyph::Replace) {
            p.setPen(QPen(accent, 1.4, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(11, 3), QPointF(17, 3));
            p.drawLine(QPointF(15, 1), QPointF(17, 3));
            p.drawLine(QPointF(15, 5), QPointF(17, 3));
        }
        break;
    case Glyph::Create:
        // Words by frequency: bars getting shorter.
        p.setPen(Qt::NoPen);
        p.setBrush(accent);
        p.drawRect(QRectF(2, 3, 14, 3));
        p.drawRect(QRectF(2, 8, 10, 3));
        p.drawRect(QRectF(2, 13, 6, 3));
        break;
    }
    return QIcon(pixmap);
}

} // namespace

TextPage::TextPage(LearningSettings& settings, TextPageHooks hooks, QWidget* parent)
    : QWidget(parent), m_settings(settings), m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("TextPage"));
    fileDialog = [this](const FileDialogRequest& request) { return FileDialogs::GetFileName(this, request); };
    builder = [](std::string_view text, const std::string& path, const FrequencyOptions& options,
                 const FrequencyProgress& progress,
                 bool* unicode) { BuildFrequencyDictionary(text, path, options, progress, unicode); };

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(3);
    auto* toolbar = new QHBoxLayout;
    toolbar->setSpacing(1);
    column->addLayout(toolbar);

    Memo = new QPlainTextEdit(this);
    Memo->setObjectName(QStringLiteral("Memo"));
    Memo->setAccessibleName(QStringLiteral("Текст"));
    Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette palette = Memo->palette();
    palette.setColor(QPalette::Base, ColorFromStored(colors::kCream));
    Memo->setPalette(palette);
    column->addWidget(Memo, 1);

    const auto addGap = [toolbar] { toolbar->addSpacing(8); };
    BTsavetext = AddButton("BTsavetext", QStringLiteral("Сохранить файл"), QStyle::SP_DialogSaveButton, 0);
    BTopentext = AddButton("BTopentext", QStringLiteral("Открыть файл"), QStyle::SP_DialogOpenButton, 0);
    BTnewtext = AddButton("BTnewtext", QStringLiteral("Новый файл"), QStyle::SP_FileIcon, 0);
    BTcut = AddButton("BTcut", QStringLiteral("Вырезать"), -1, static_cast<int>(Glyph::Cut));
    BTcopy = AddButton("BTcopy", QStringLiteral("Копировать"), -1, static_cast<int>(Glyph::Copy));
    BTpaste = AddButton("BTpaste", QStringLiteral("Вставить"), -1, static_cast<int>(Glyph::Paste));
    BTfonttext = AddButton("BTfonttext", QStringLiteral("Шрифт"), -1, static_cast<int>(Glyph::Font));
    BTfindtext = AddButton("BTfindtext", QStringLiteral("Найти в тексте"), -1, static_cast<int>(Glyph::Find));
    BTreplacetext =
        AddButton("BTreplacetext", QStringLiteral("Найти и заменить"), -1, static_cast<int>(Glyph::Replace));
    BTbacis = AddButton("BTbacis", QStringLiteral("Выбрать Базовый словарь"), QStyle::SP_DirIcon, 0);
    BTcreate = AddButton("BTcreate", QStringLiteral("Создать частотный словарь"), -1, static_cast<int>(Glyph::Create));
    const QList<QToolButton*> order = {BTsavetext, BTopentext, BTnewtext,     BTcut,   BTcopy,  BTpaste,
                                       BTfonttext, BTfindtext, BTreplacetext, BTbacis, BTcreate};
    for (QToolButton* button : order) {
        toolbar->addWidget(button);
        if (button == BTnewtext || button == BTpaste || button == BTfonttext || button == BTreplacetext) {
            addGap();
        }
    }
    toolbar->addStretch(1);

    // The standard edit actions work on the text; their shortcuts are the edit's own.
    const auto makeAction = [this](QAction*& action, const char* name, const QString& text, QKeySequence key) {
        action = new QAction(text, this);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        QWidget::addAction(action);
    };
    makeAction(EditCut, "EditCut", QStringLiteral("Вырезать"), QKeySequence::Cut);
    makeAction(EditCopy, "EditCopy", QStringLiteral("Копировать"), QKeySequence::Copy);
    makeAction(EditPaste, "EditPaste", QStringLiteral("Вставить"), QKeySequence::Paste);
    makeAction(SearchFind, "SearchFind", QStringLiteral("Найти в тексте"), QKeySequence(Qt::CTRL | Qt::Key_F));
    makeAction(SearchReplace, "SearchReplace", QStringLiteral("Найти и заменить"), QKeySequence(Qt::CTRL | Qt::Key_H));
    connect(EditCut, &QAction::triggered, Memo, &QPlainTextEdit::cut);
    connect(EditCopy, &QAction::triggered, Memo, &QPlainTextEdit::copy);
    connect(EditPaste, &QAction::triggered, Memo, &QPlainTextEdit::paste);
    BTcut->setDefaultAction(EditCut);
    BTcopy->setDefaultAction(EditCopy);
    BTpaste->setDefaultAction(EditPaste);
    BTfindtext->setDefaultAction(SearchFind);
    BTreplacetext->setDefaultAction(SearchReplace);
    // setDefaultAction takes the action's text and icon; the buttons keep their own looks.
    for (QToolButton* button : {BTcut, BTcopy, BTpaste, BTfindtext, BTreplacetext}) {
        QAction* action = button->defaultAction();
        action->setIcon(button->property("vbIcon").value<QIcon>());
        action->setToolTip(button->property("vbHint").toString());
    }

    FindDialog = new TextSearchDialog(TextSearchDialog::Find, Memo, this);
    ReplaceDialog = new TextSearchDialog(TextSearchDialog::Replace, Memo, this);
    for (TextSearchDialog* dialog : {FindDialog, ReplaceDialog}) {
        // SearchDialogShow and SearchFindDialogClose.
        dialog->onShow = [this] { m_hooks.dialogShown(); };
        dialog->onClose = [this] { m_hooks.dialogHidden(); };
    }
    connect(SearchFind, &QAction::triggered, this, [this] { ShowSearch(FindDialog); });
    connect(SearchReplace, &QAction::triggered, this, [this] { ShowSearch(ReplaceDialog); });

    connect(BTsavetext, &QToolButton::clicked, this, &TextPage::BTsavetextClick);
    connect(BTopentext, &QToolButton::clicked, this, &TextPage::BTopentextClick);
    connect(BTnewtext, &QToolButton::clicked, this, &TextPage::BTnewtextClick);
    connect(BTfonttext, &QToolButton::clicked, this, &TextPage::BTfonttextClick);
    connect(BTbacis, &QToolButton::clicked, this, &TextPage::BTbacisClick);
    connect(BTcreate, &QToolButton::clicked, this, &TextPage::BTcreateClick);
    connect(Memo, &QPlainTextEdit::textChanged, this, &TextPage::MemoChange);

    BTsavetext->setEnabled(false);
    BTcreate->setEnabled(false);
    ApplyStoredFont();
}

TextPage::~TextPage() = default;

QToolButton* TextPage::AddButton(const char* name, const QString& hint, int standardIcon, int glyph)
{
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setFixedSize(28, 26);
    button->setIconSize(QSize(18, 18));
    const QIcon icon = standardIcon >= 0 ? style()->standardIcon(static_cast<QStyle::StandardPixmap>(standardIcon))
                                         : DrawnIcon(static_cast<Glyph>(glyph));
    button->setIcon(icon);
    // Kept for the buttons that show an action instead.
    button->setProperty("vbIcon", icon);
    button->setProperty("vbHint", hint);
    return button;
}

void TextPage::ShowSearch(TextSearchDialog* dialog)
{
    const QString selected = Memo->textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator)) {
        dialog->ED_find->setText(selected);
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    dialog->ED_find->setFocus();
    dialog->ED_find->selectAll();
}

// ---------------------------------------------------------------------------------------------------
// The text

std::string TextPage::Text() const
{
    // The raw text keeps non-breaking spaces; paragraph and line separators become "\n".
    QString text = Memo->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text.toStdString();
}

void TextPage::SetText(const std::string& text)
{
    Memo->setPlainText(QString::fromStdString(text));
}

long long TextPage::CharacterCount() const
{
    // Each block but the last ends in a line break, which counts as two characters.
    const QTextDocument* doc = Memo->document();
    return static_cast<long long>(doc->characterCount()) - 1 + (doc->blockCount() - 1);
}

void TextPage::ResetText()
{
    m_format = TextFileFormat{};
    m_textFilePath.clear();
    Memo->clear();
    BTsavetext->setEnabled(false);
}

void TextPage::ApplyStoredFont()
{
    QFont font(Native(m_settings.TextFontName));
    // Where the named font is missing, a fixed-pitch one stands in, like the designed Courier New.
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(std::max(1, m_settings.TextFontSize));
    font.setBold(m_settings.TextFontBold);
    font.setItalic(m_settings.TextFontItalic);
    font.setUnderline(m_settings.TextFontUnderline);
    font.setStrikeOut(m_settings.TextFontStrikeout);
    Memo->setFont(font);
    QPalette palette = Memo->palette();
    palette.setColor(QPalette::Text, ColorFromStored(m_settings.TextFontColor));
    Memo->setPalette(palette);
}

void TextPage::MemoChange()
{
    BTsavetext->setEnabled(true);
    BTcreate->setEnabled(!m_building && !Memo->document()->isEmpty());
    m_hooks.updateStatusBar();
}

// ---------------------------------------------------------------------------------------------------
// Files

bool TextPage::LoadTextFile()
{
    std::string content;
    if (!ReadWholeFile(m_textFilePath, content)) {
        // The file stays named, as after any open; the text shown is left as it was.
        m_hooks.notice("Не удаётся прочитать файл " + m_textFilePath);
        return false;
    }
    m_format = DetectTextEncoding(content);
    SetText(DecodeTextFile(content, m_format));
    return true;
}

void TextPage::BTopentextClick()
{
    FileDialogRequest request;
    request.title = QStringLiteral("Открыть текстовый файл");
    request.filter = QStringLiteral("Текстовые файлы (*.txt)");
    request.defaultSuffix = QStringLiteral("txt");
    request.folder = Native(m_settings.TextFolder);
    m_hooks.dialogShown();
    const QString chosen = fileDialog(request);
    m_hooks.dialogHidden();
    if (!chosen.isEmpty()) {
        m_textFilePath = chosen.toStdString();
    }
    // Also after a cancelled dialog: the open file is read again and edits are dropped.
    if (!m_textFilePath.empty()) {
        m_settings.TextFolder = ParentDir(m_textFilePath);
        if (LoadTextFile()) {
            BTsavetext->setEnabled(false);
        }
    }
    m_hooks.updateStatusBar();
}

void TextPage::BTsavetextClick()
{
    if (m_textFilePath.empty()) {
        FileDialogRequest request;
        request.save = true;
        request.title = QStringLiteral("Создать новый текстовый файл");
        request.filter = QStringLiteral("Текстовые файлы (*.txt)");
        request.defaultSuffix = QStringLiteral("txt");
        request.folder = Native(m_settings.TextFolder);
        m_hooks.dialogShown();
        const QString chosen = fileDialog(request);
        m_hooks.dialogHidden();
        if (!chosen.isEmpty()) {
            m_textFilePath = chosen.toStdString();
            // The user chose to overwrite this file, so a read-only mark does not stop it.
            if (FileExists(m_textFilePath)) {
                SetAttributesNormal(m_textFilePath);
            }
        }
    }
    if (m_textFilePath.empty()) {
        m_hooks.updateStatusBar();
        return;
    }
    m_settings.TextFolder = ParentDir(m_textFilePath);
    if (FileExists(m_textFilePath) && IsReadOnly(m_textFilePath)) {
        m_hooks.notice("Файл защищён от изменений!");
        return;
    }
    const std::string text = Text();
    const EncodedText encoded = EncodeTextFile(text, m_format);
    if (!WriteFileAtomic(m_textFilePath, encoded.bytes)) {
        // The text stays unsaved; the old file is whole.
        m_hooks.notice("Не удаётся записать файл " + m_textFilePath);
        return;
    }
    // Characters the file's code page lacks were replaced there; the text shows what was written.
    if (encoded.shown != text) {
        SetText(encoded.shown);
    }
    BTsavetext->setEnabled(false);
    m_hooks.updateStatusBar();
}

void TextPage::BTnewtextClick()
{
    ResetText();
    m_hooks.updateStatusBar();
}

void TextPage::BTfonttextClick()
{
    m_hooks.dialogShown();
    const std::optional<FontAndColor> chosen =
        m_hooks.fontDialog ? m_hooks.fontDialog(Memo->font(), ColorFromStored(m_settings.TextFontColor)) : std::nullopt;
    m_hooks.dialogHidden();
    if (!chosen) {
        return;
    }
    const QFont& font = chosen->font;
    m_settings.TextFontName = font.family().toStdString();
    if (font.pointSize() > 0) {
        m_settings.TextFontSize = font.pointSize();
    }
    m_settings.TextFontBold = font.bold();
    m_settings.TextFontItalic = font.italic();
    m_settings.TextFontUnderline = font.underline();
    m_settings.TextFontStrikeout = font.strikeOut();
    if (chosen->color.isValid()) {
        m_settings.TextFontColor = StoredFromColor(chosen->color);
    }
    ApplyStoredFont();
}

// ---------------------------------------------------------------------------------------------------
// The frequency dictionary

void TextPage::BTbacisClick()
{
    m_hooks.dialogShown();
    if (m_hooks.askSaveChanges()) {
        FileDialogRequest request;
        request.title = QStringLiteral("Выбрать Базовый словарь");
        request.filter = QStringLiteral("Словари (*.lqd)");
        request.defaultSuffix = QStringLiteral("lqd");
        request.folder = Native(ParentDir(m_hooks.dictionaryPath()));
        request.fileName = Native(m_settings.BasicDictionaryPath);
        const QString chosen = fileDialog(request);
        if (!chosen.isEmpty()) {
            m_settings.BasicDictionaryPath = chosen.toStdString();
        }
    }
    m_hooks.dialogHidden();
    m_hooks.updateStatusBar();
}

void TextPage::BTcreateClick()
{
    if (m_building) {
        return;
    }
    m_hooks.saveLearningSettings();
    Memo->setFocus();
    m_hooks.dialogShown();
    // The new dictionary replaces the open one: its unsaved edits are offered for saving first, and
    // "отменить" builds nothing.
    if (!m_hooks.askSaveChanges()) {
        m_hooks.dialogHidden();
        return;
    }
    FileDialogRequest request;
    request.save = true;
    request.title = QStringLiteral("Создать новый словарь из текста");
    request.filter = QStringLiteral("Словари (*.lqd)");
    request.defaultSuffix = QStringLiteral("lqd");
    request.folder = Native(ParentDir(m_hooks.dictionaryPath()));
    request.fileName = Native(FileNameOnly(m_textFilePath, false));
    const QString chosen = fileDialog(request);
    if (!chosen.isEmpty()) {
        const std::string path = chosen.toStdString();
        if (m_hooks.buildRunning) {
            m_hooks.buildRunning(true);
        }
        BuildDictionary(path);
        m_hooks.openDictionary(path);
        if (m_hooks.buildRunning) {
            m_hooks.buildRunning(false);
        }
    }
    m_hooks.dialogHidden();
}

void TextPage::BuildDictionary(const std::string& path)
{
    m_building = true;
    BTcreate->setEnabled(false);
    BTbacis->setEnabled(false);

    FrequencyOptions options;
    options.BasicDictionaryPath = m_settings.BasicDictionaryPath;
    options.OnlyBasic = m_settings.CB_onlybasic;
    options.ShowStat = m_settings.CB_showstat;
    options.SortText = m_settings.RGsorttext.Value();
    options.MinCount = m_settings.SEfrequency.Value();
    options.TopCount = m_settings.SEtopwords.Value();
    const std::string text = Text();
    // A 1251 dictionary replaced by one that 1251 cannot hold: the pupil is told at this save.
    std::string oldBytes;
    const bool was1251 = ReadWholeFile(path, oldBytes) && !oldBytes.empty() &&
                         DetectDictionaryEncoding(oldBytes) == DictionaryEncoding::Cp1251;
    std::string().swap(oldBytes);
    bool unicode = false;

    // The work runs on its own thread; this one keeps the window alive and moves the progress bar,
    // which the builder reports only when its percentage changes.
    m_hooks.progress(0);
    QEventLoop loop;
    std::thread worker([&] {
        builder(
            TextForCounting(text), path, options,
            [this](int percent) {
                QMetaObject::invokeMethod(
                    this,
                    [this, percent] {
                        if (m_building) {
                            m_hooks.progress(percent);
                        }
                    },
                    Qt::QueuedConnection);
            },
            &unicode);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    // The loop also ends when the program quits; the file is finished all the same.
    worker.join();

    m_building = false;
    m_hooks.hideProgress();
    BTbacis->setEnabled(true);
    BTcreate->setEnabled(!Memo->document()->isEmpty());
    if (unicode && was1251) {
        m_hooks.notice("В словаре есть буквы, которых нет в кодировке Windows-1251, поэтому он сохранён в "
                       "кодировке UTF-8.");
    }
}

// ---------------------------------------------------------------------------------------------------
// The builder's options

TextOptionsPanel::TextOptionsPanel(LearningSettings& settings, QWidget* parent) : QWidget(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("TextOptionsPanel"));
    // Two rows, as the strip below the pages is low: the filters on the left, order and minimum count
    // on the right.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 0, 6, 0);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(0);

    CB_onlybasic = new QCheckBox(QStringLiteral("только базовые слова"), this);
    CB_onlybasic->setObjectName(QStringLiteral("CB_onlybasic"));
    CB_showstat = new QCheckBox(QStringLiteral("отображать частоту в словаре"), this);
    CB_showstat->setObjectName(QStringLiteral("CB_showstat"));
    grid->addWidget(CB_onlybasic, 0, 0);
    grid->addWidget(CB_showstat, 1, 0);

    RGsorttext = new QGroupBox(this);
    RGsorttext->setObjectName(QStringLiteral("RGsorttext"));
    RGsorttext->setFlat(true);
    RGsorttext->setStyleSheet(QStringLiteral("QGroupBox#RGsorttext { border: none; margin: 0; padding: 0; }"));
    auto* radios = new QHBoxLayout(RGsorttext);
    radios->setContentsMargins(0, 0, 0, 0);
    radios->addWidget(new QLabel(QStringLiteral("сортировать по"), RGsorttext));
    RGsorttextAlpha = new QRadioButton(QStringLiteral("алфавиту"), RGsorttext);
    RGsorttextFrequency = new QRadioButton(QStringLiteral("частоте"), RGsorttext);
    radios->addWidget(RGsorttextAlpha);
    radios->addWidget(RGsorttextFrequency);
    radios->addStretch(1);
    grid->addWidget(RGsorttext, 0, 1);

    auto* minimum = new QHBoxLayout;
    minimum->setSpacing(6);
    LB_frequency = new QLabel(QStringLiteral("с частотой слов от"), this);
    LB_frequency->setObjectName(QStringLiteral("LB_frequency"));
    SEfrequency = new SpinEdit(this);
    SEfrequency->setObjectName(QStringLiteral("SEfrequency"));
    SEfrequency->setRange(m_settings.SEfrequency.Min(), m_settings.SEfrequency.Max());
    SEfrequency->setMinimumWidth(90);
    minimum->addWidget(LB_frequency);
    minimum->addWidget(SEfrequency);
    minimum->addSpacing(8);
    // Self-describing, as the strip has no room for another label: "300 самых частых" or "все слова".
    SEtopwords = new SpinEdit(this);
    SEtopwords->setObjectName(QStringLiteral("SEtopwords"));
    SEtopwords->setRange(m_settings.SEtopwords.Min(), m_settings.SEtopwords.Max());
    SEtopwords->setSuffix(QStringLiteral(" самых частых"));
    SEtopwords->setSpecialValueText(QStringLiteral("все слова"));
    SEtopwords->setToolTip(QStringLiteral("Только столько самых частых слов текста"));
    // Sized for everyday counts, not for the largest one, so the strip fits the window's width.
    SEtopwords->setMaximumWidth(125);
    minimum->addWidget(SEtopwords);
    minimum->addStretch(1);
    grid->addLayout(minimum, 1, 1);
    grid->setColumnStretch(1, 1);

    connect(CB_onlybasic, &QCheckBox::toggled, this, [this](bool on) { m_settings.CB_onlybasic = on; });
    connect(CB_showstat, &QCheckBox::toggled, this, [this](bool on) { m_settings.CB_showstat = on; });
    connect(RGsorttextFrequency, &QRadioButton::toggled, this,
            [this](bool on) { m_settings.RGsorttext.Set(on ? 1 : 0); });
    connect(SEfrequency, &QSpinBox::valueChanged, this, [this](int v) { m_settings.SEfrequency.Set(v); });
    connect(SEtopwords, &QSpinBox::valueChanged, this, [this](int v) { m_settings.SEtopwords.Set(v); });
    ShowSettings();
}

void TextOptionsPanel::ShowSettings()
{
    CB_onlybasic->setChecked(m_settings.CB_onlybasic);
    CB_showstat->setChecked(m_settings.CB_showstat);
    (m_settings.RGsorttext.Value() == 1 ? RGsorttextFrequency : RGsorttextAlpha)->setChecked(true);
    SEfrequency->setValue(m_settings.SEfrequency.Value());
    SEtopwords->setValue(m_settings.SEtopwords.Value());
}

} // namespace vb
