#include "windowplacement.h"

#include "data/regional/settings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <QStringList>

#include <algorithm>

namespace innkeld {

QString PlacementText(const QRect &geometry)
{
    return QStringLiteral("%1,%2,%3,%4").arg(geometry.x()).arg(geometry.y()).arg(geometry.width()).arg(geometry.height());
}

QRect PlacementToRestore(const QString &saved, const QList<QRect> &screens, const QSize &minimum, int band,
                         bool *positionKept)
{
    if (positionKept)
        *positionKept = false;
    const QStringList parts = saved.split(QLatin1Char(','));
    if (parts.size() != 4)
        return QRect();
    int values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts.at(i).trimmed().toInt(&ok);
        if (!ok)
            return QRect();
    }
    if (values[2] <= 0 || values[3] <= 0)
        return QRect();
    QRect geometry(values[0], values[1], std::max(values[2], minimum.width()), std::max(values[3], minimum.height()));
    // No larger than the largest screen: a window saved on a bigger one
    // keeps within today's.
    if (!screens.isEmpty()) {
        int widest = 0, tallest = 0;
        for (const QRect &screen : screens) {
            widest = std::max(widest, screen.width());
            tallest = std::max(tallest, screen.height());
        }
        geometry.setWidth(std::min(geometry.width(), std::max(minimum.width(), widest)));
        geometry.setHeight(std::min(geometry.height(), std::max(minimum.height(), tallest)));
    }
    // The band the window is moved by must be reachable: at least a third
    // of its width, and its height, on one screen.
    const QRect top(geometry.x(), geometry.y(), geometry.width(), band);
    for (const QRect &screen : screens) {
        const QRect seen = screen.intersected(top);
        if (seen.height() >= std::min(band, 20) && seen.width() >= std::min(geometry.width() / 3, 100)) {
            if (positionKept)
                *positionKept = true;
            return geometry;
        }
    }
    return geometry;
}

void RestorePlacement(QWidget *window, const SettingsStore &settings, int topBand)
{
    // Where the window was left, unless that is off every screen today.
    QList<QRect> screens;
    for (QScreen *screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    bool positionKept = false;
    const QRect saved = PlacementToRestore(settings.ReadSetting(QStringLiteral("MainWindowGeometry"), QString()), screens,
                                           window->minimumSize(), topBand, &positionKept);
    if (saved.isValid()) {
        window->resize(saved.size());
        if (positionKept)
            window->move(saved.topLeft());
    }
    if (settings.ReadSetting(QStringLiteral("MainWindowMaximized"), QString()) == QLatin1String("1"))
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
}

void SavePlacement(const QWidget *window, SettingsStore &settings)
{
    settings.WriteSetting(QStringLiteral("MainWindowGeometry"),
                          PlacementText(window->normalGeometry().isValid() ? window->normalGeometry() : window->geometry()));
    settings.WriteSetting(QStringLiteral("MainWindowMaximized"),
                          window->isMaximized() ? QStringLiteral("1") : QStringLiteral("0"));
}

}  // namespace innkeld
