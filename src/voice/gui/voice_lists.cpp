// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/gui/voice_lists.h"

#include <QComboBox>
#include <QStandardItemModel>

namespace vb {

namespace {

constexpr int kVoiceNumberRole = Qt::UserRole + 1;

} // namespace

void FillVoiceList(QComboBox* list, const std::vector<SpeechVoice>& voices, const std::vector<int>& order)
{
    const QString stored = list->currentText();
    // One model built whole: thousands of voices added one by one would take long.
    auto* model = new QStandardItemModel(list);
    QList<QStandardItem*> items;
    items.reserve(static_cast<qsizetype>(order.size()));
    for (const int number : order) {
        const SpeechVoice& voice = voices[static_cast<std::size_t>(number)];
        auto* item = new QStandardItem(QString::fromStdString(voice.name));
        item->setData(number, kVoiceNumberRole);
        item->setToolTip(QString::fromStdString(voice.languageName));
        item->setEditable(false);
        items.append(item);
    }
    model->invisibleRootItem()->appendRows(items);
    // The list deletes the model it owned before.
    list->setModel(model);
    list->setCurrentIndex(list->findText(stored, Qt::MatchExactly | Qt::MatchCaseSensitive));
    list->setEditText(stored);
}

int SelectedVoiceNumber(const QComboBox* list)
{
    const int item = list->currentIndex();
    if (item < 0) {
        return -1;
    }
    const QVariant number = list->itemData(item, kVoiceNumberRole);
    return number.isValid() ? number.toInt() : -1;
}

} // namespace vb
