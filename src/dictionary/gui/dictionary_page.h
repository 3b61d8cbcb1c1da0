// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The "Словарь" page: the file buttons and the navigator above the dictionary grid; and the search panel
// shown below the pages while the page is up.

#include "dictionary/sdf_data.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace vb {

class DictionaryGrid;
class DictionaryNavigator;
class DictionaryTableModel;

class DictionaryPage : public QWidget
{
    Q_OBJECT
public:
    DictionaryPage(TFixedFormatDataSet& table, QWidget* parent = nullptr);

    // The grid's columns by number.
    enum Column { kColWord = 0, kColTranscription = 1, kColTranslate = 2, kColTesaurus = 3 };

    // The font family of a column; its size stays.
    void SetColumnFamily(int column, const QString& family);
    // The transcription column's font, and with it how the transcriptions are shown.
    void SetTranscriptionFamily(const QString& family);

    QToolButton* BTopen = nullptr;
    QToolButton* BTnew = nullptr;
    QToolButton* BTfont = nullptr;
    QToolButton* BTsave = nullptr;
    QToolButton* BTUndo = nullptr;
    DictionaryNavigator* DBNavigator = nullptr;
    DictionaryGrid* DBGridDict = nullptr;
    DictionaryTableModel* model = nullptr;
};

// The search panel's controls, laid out in the panel they are given.
class DictionarySearchPanel : public QWidget
{
    Q_OBJECT
public:
    explicit DictionarySearchPanel(QWidget* parent = nullptr);

    // Item 0 "Перевод" is chosen (a typed text chooses no item).
    bool TranslationChosen() const;
    void SetValueFamily(const QString& family);

    QLabel* LBTitFindCol = nullptr;
    QComboBox* CBxFieldList = nullptr;
    QLabel* LBTitFindWord = nullptr;
    QLineEdit* EdtValue = nullptr;
    QToolButton* BTfind = nullptr;
    QCheckBox* CB_FindCase = nullptr;
    QCheckBox* CB_FindPartial = nullptr;
};

} // namespace vb
