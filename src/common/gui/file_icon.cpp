// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/gui/file_icon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace vb {

namespace {

class LazyFileIconEngine : public QIconEngine
{
public:
    explicit LazyFileIconEngine(std::vector<IconFile> files) : m_files(std::move(files))
    {
        m_pixmaps.resize(m_files.size());
    }

    QIconEngine* clone() const override { return new LazyFileIconEngine(*this); }

    QString key() const override { return QStringLiteral("VerbantaLazyFileIcon"); }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const IconFile& file : m_files) {
            sizes.append(file.size);
        }
        return sizes;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int index = Best(size);
        if (index < 0) {
            return {};
        }
        return m_files[static_cast<std::size_t>(index)]
            .size.scaled(size, Qt::KeepAspectRatio)
            .boundedTo(m_files[static_cast<std::size_t>(index)].size);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        const int index = Best(size);
        if (index < 0) {
            return {};
        }
        QPixmap& cached = m_pixmaps[static_cast<std::size_t>(index)];
        if (cached.isNull()) {
            cached.load(m_files[static_cast<std::size_t>(index)].path);
        }
        if (cached.isNull() || cached.size() == size) {
            return cached;
        }
        const QSize wanted = actualSize(size, mode, state);
        return cached.scaled(wanted, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const QPixmap picture = pixmap(rect.size(), mode, state);
        if (!picture.isNull()) {
            const QSize shown = picture.size().scaled(rect.size(), Qt::KeepAspectRatio);
            const QRect target(rect.topLeft() +
                                   QPoint((rect.width() - shown.width()) / 2, (rect.height() - shown.height()) / 2),
                               shown);
            painter->drawPixmap(target, picture);
        }
    }

    bool isNull() override { return m_files.empty(); }

private:
    // The smallest picture at least as large as asked for, else the largest there is.
    int Best(const QSize& size) const
    {
        int best = -1;
        for (std::size_t i = 0; i < m_files.size(); ++i) {
            const QSize& candidate = m_files[i].size;
            if (best < 0) {
                best = static_cast<int>(i);
                continue;
            }
            const QSize& chosen = m_files[static_cast<std::size_t>(best)].size;
            const bool fits = candidate.width() >= size.width() && candidate.height() >= size.height();
            const bool chosenFits = chosen.width() >= size.width() && chosen.height() >= size.height();
            if ((fits && (!chosenFits || candidate.width() < chosen.width())) ||
                (!fits && !chosenFits && candidate.width() > chosen.width())) {
                best = static_cast<int>(i);
            }
        }
        return best;
    }

    std::vector<IconFile> m_files;
    std::vector<QPixmap> m_pixmaps;
};

} // namespace

QIcon LazyFileIcon(const std::vector<IconFile>& files)
{
    if (files.empty()) {
        return QIcon();
    }
    return QIcon(new LazyFileIconEngine(files));
}

} // namespace vb
