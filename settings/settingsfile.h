#pragma once
// The daybook's settings file: created with its defaults at the first login,
// read into DaybookSettings at every login, written back key group by key
// group by the options window and at shutdown. Every write throws
// IniWriteError (platform/inifile.h) when the file cannot be written; its
// text() is the message to show.
#include "platform/inifile.h"
#include "settings/daybooksettings.h"

#include <QString>

bool settingsFileExists(const QString& path);

// Writes every created value in creation order; the alarm time is the clock's
// time now. Meant for a missing file: an existing one is never completed.
void createSettingsFile(const QString& path);

// Every key into its field; a missing key or an unreadable value gives the
// key's read default, the position keys the bars' positions in current.
// Reading never writes: a file that lacks keys stays as it is.
DaybookSettings readSettings(const IniFile& ini, const BarPositions& current);
DaybookSettings readSettings(const QString& path, const BarPositions& current);
// The Type beep switch, which has no field.
bool readTypeBeep(const IniFile& ini);

// The writers, each writing its keys in its own order from s.
// General tab: autos, autostime, autocreatb, timeA, timeat, perhour, insdate, instime.
void writeGeneralTab(IniFile& ini, const DaybookSettings& s);
// The General tab's memo text, written on its own.
void writeMemoText(IniFile& ini, const DaybookSettings& s);
// Editor tab: Fonn, fcolor, fsize, indenl, indenr, indenf, alg.
void writeEditorTab(IniFile& ini, const DaybookSettings& s);
// Calendar tab: mothbc, textc, titlebc, titletc, tryc, showtoday, todaymark.
void writeCalendarTab(IniFile& ini, const DaybookSettings& s);
// Colour center: the sixteen menu and main window colours.
void writeColourCenter(IniFile& ini, const DaybookSettings& s);
// Shutdown: the menu bar's position, the alarm switch, Type beep, each tool
// bar's position and placement, and the View keys. The caller first puts the
// bars' current positions and placements into s.state.
void writeShutdown(IniFile& ini, const DaybookSettings& s, bool typeBeep);
