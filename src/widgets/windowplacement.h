// Where a window was left, kept in the settings for the next start: its
// size and position when not maximised, and whether it was maximised.
#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

namespace innkeld {

class SettingsStore;

// The settings text of a geometry: "x,y,width,height".
QString PlacementText(const QRect &geometry);

// The geometry to give a window from its saved text, on the screens there
// are today (their available areas): the saved size, never below
// `minimum`, and the saved position only when the window's top band (the
// `band` pixels it is moved by) lies well on one of the screens; else the
// position is left to the window system (`positionKept` false). An
// invalid rectangle when nothing usable was saved.
QRect PlacementToRestore(const QString &saved, const QList<QRect> &screens, const QSize &minimum, int band,
                         bool *positionKept);

// Gives a window the size, position and maximised state where it was left,
// from the settings (unless that is off every screen today); and keeps
// them there.
void RestorePlacement(QWidget *window, const SettingsStore &settings, int topBand);
void SavePlacement(const QWidget *window, SettingsStore &settings);

}  // namespace innkeld
