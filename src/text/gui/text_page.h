// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The "Текст" page: a plain-text editor for texts in the Windows, DOS or UTF-8 encoding, and the
// frequency dictionary builder over its text. The lesson window creates the page and the builder's
// option panel (shown below the pages) and answers the hooks.

#include "app/gui/file_dialogs.h"
#include "app/gui/font_color_dialog.h"
#include "text/frequency.h"
#include "text/text_encoding.h"

#include <QFont>
#include <QFrame>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QRadioButton;
class QToolButton;

namespace vb {

struct LearningSettings;
class SpinEdit;
class TextSearchDialog;

// What the page needs of the lesson window.
struct TextPageHooks
{
    // Around every dialog: DialogOpen and the topmost state.
    std::function<void()> dialogShown;
    std::function<void()> dialogHidden;
    std::function<void()> updateStatusBar;
    // A notice with the one button "понятно".
    std::function<void(const std::string& text)> notice;
    // The settings window's font dialog with the colour; nothing when cancelled.
    std::function<std::optional<FontAndColor>(const QFont& font, const QColor& color)> fontDialog;
    std::function<void()> saveLearningSettings;
    // The unsaved-dictionary question; false when the user cancels.
    std::function<bool()> askSaveChanges;
    std::function<std::string()> dictionaryPath;
    // Opens a newly built dictionary and shows it.
    std::function<void(const std::string& path)> openDictionary;
    // The status bar's progress bar: shown at a position, hidden.
    std::function<void(int percent)> progress;
    std::function<void()> hideProgress;
    // True as a build starts, false once its dictionary is open: meanwhile the window refuses what the
    // build's end would undo (opening or editing a dictionary, switching pupil).
    std::function<void(bool running)> buildRunning;
};

class TextPage : public QWidget
{
    Q_OBJECT
public:
    TextPage(LearningSettings& settings, TextPageHooks hooks, QWidget* parent = nullptr);
    ~TextPage() override;

    // Empty text, no file, ANSI, nothing to save.
    void ResetText();
    // The stored font of the text.
    void ApplyStoredFont();

    // The file dialogs; replaceable so that tests never block. Returns the chosen path, or an empty
    // string when the dialog was cancelled.
    std::function<QString(const FileDialogRequest&)> fileDialog;
    // The builder, run on the worker thread; replaceable so that tests can hold a build open. It sets
    // *unicode when the dictionary had to be written as UTF-8.
    std::function<void(std::string_view text, const std::string& path, const FrequencyOptions& options,
                       const FrequencyProgress& progress, bool* unicode)>
        builder;

    const std::string& TextFilePath() const { return m_textFilePath; }
    const TextFileFormat& TextFormat() const { return m_format; }
    // The text as UTF-8 with "\n" line breaks.
    std::string Text() const;
    // Characters with line breaks counted as two, for the status bar.
    long long CharacterCount() const;
    bool Building() const { return m_building; }

    // ---- Controls, left to right
    QToolButton* BTsavetext = nullptr;
    QToolButton* BTopentext = nullptr;
    QToolButton* BTnewtext = nullptr;
    QToolButton* BTcut = nullptr;
    QToolButton* BTcopy = nullptr;
    QToolButton* BTpaste = nullptr;
    QToolButton* BTfonttext = nullptr;
    QToolButton* BTfindtext = nullptr;
    QToolButton* BTreplacetext = nullptr;
    QToolButton* BTbacis = nullptr;
    QToolButton* BTcreate = nullptr;
    QPlainTextEdit* Memo = nullptr;

    // The standard edit and search actions of the buttons, with their shortcuts.
    QAction* EditCut = nullptr;
    QAction* EditCopy = nullptr;
    QAction* EditPaste = nullptr;
    QAction* SearchFind = nullptr;
    QAction* SearchReplace = nullptr;

    TextSearchDialog* FindDialog = nullptr;
    TextSearchDialog* ReplaceDialog = nullptr;

public slots:
    void BTopentextClick();
    void BTsavetextClick();
    void BTnewtextClick();
    void BTfonttextClick();
    void BTbacisClick();
    void BTcreateClick();
    void MemoChange();

private:
    // A button with the style's standard picture, or with a drawn one when standardIcon is -1.
    QToolButton* AddButton(const char* name, const QString& hint, int standardIcon, int glyph);
    // Loads TextFilePath into the page; false (after a notice) when it cannot be read.
    bool LoadTextFile();
    void SetText(const std::string& text);
    // Builds the dictionary on a worker thread while the window goes on.
    void BuildDictionary(const std::string& path);
    void ShowSearch(TextSearchDialog* dialog);

    LearningSettings& m_settings;
    TextPageHooks m_hooks;
    std::string m_textFilePath;
    TextFileFormat m_format;
    bool m_building = false;
};

// The builder's options below the pages on the text page (PanelText's content).
class TextOptionsPanel : public QWidget
{
    Q_OBJECT
public:
    explicit TextOptionsPanel(LearningSettings& settings, QWidget* parent = nullptr);

    // Shows the stored values.
    void ShowSettings();

    QCheckBox* CB_onlybasic = nullptr;
    QCheckBox* CB_showstat = nullptr;
    QGroupBox* RGsorttext = nullptr;
    QRadioButton* RGsorttextAlpha = nullptr;
    QRadioButton* RGsorttextFrequency = nullptr;
    QLabel* LB_frequency = nullptr;
    SpinEdit* SEfrequency = nullptr;
    SpinEdit* SEtopwords = nullptr;

private:
    LearningSettings& m_settings;
};

} // namespace vb
