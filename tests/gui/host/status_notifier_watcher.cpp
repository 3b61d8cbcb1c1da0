// SPDX-License-Identifier: GPL-3.0-or-later
// A minimal StatusNotifierWatcher with a host registered, as a desktop panel (KDE Plasma, GNOME's tray
// extension, most panels today) offers it on the session bus. Enough for Qt to export a tray icon as a
// StatusNotifierItem and for a test to find the item and activate it. Runs until killed.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QObject>
#include <QStringList>

#include <cstdio>

namespace {

class Watcher : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ IsStatusNotifierHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ ProtocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ RegisteredStatusNotifierItems)

public:
    bool IsStatusNotifierHostRegistered() const { return true; }
    int ProtocolVersion() const { return 0; }
    QStringList RegisteredStatusNotifierItems() const { return m_items; }

public slots:
    void RegisterStatusNotifierItem(const QString& service)
    {
        if (!m_items.contains(service)) {
            m_items.append(service);
            std::printf("item registered: %s\n", qPrintable(service));
            std::fflush(stdout);
        }
        emit StatusNotifierItemRegistered(service);
    }
    void RegisterStatusNotifierHost(const QString& service) { emit StatusNotifierHostRegistered(service); }

signals:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierItemUnregistered(const QString& service);
    void StatusNotifierHostRegistered(const QString& service);

private:
    QStringList m_items;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    Watcher watcher;
    if (!bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &watcher,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                                QDBusConnection::ExportAllProperties) ||
        !bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"))) {
        std::fprintf(stderr, "cannot register the watcher: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    std::printf("watcher ready\n");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

#include "status_notifier_watcher.moc"
