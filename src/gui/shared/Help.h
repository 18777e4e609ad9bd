#pragma once
// The manual: HTML pages shipped with the program (help/ beside the executable
// in a build or portable folder, else share/punchbook/help), shown in one help
// window with contents, back and forward. Every window names its page with its
// help context number (the property "HelpContext"); F1 opens the page of the
// window in use.
//
// A new page: add the HTML file to data/help/, link it from index.html, and
// give it a row in the topic table of Help.cpp when a window opens it.

#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>

#include "core/model/Settings.h"
#include "core/store/FileSystem.h"

class QApplication;
class QObject;
class QTextBrowser;
class QWidget;

namespace pb {

// The page of a help context number; 0 and unknown numbers give the contents.
QString HelpPage(int context);

// Every page the topic table names, contents first.
QStringList HelpPages();

// The folder of the manual, ending in "/".
QString HelpFolder();

// The help context of the window `widget` lies in: the nearest "HelpContext"
// property from the widget up through its parents, else 0.
int HelpContextOf(const QWidget* widget);

// Shows the page of `context` in the help window. A window open under a modal
// dialog would not take the mouse, so while one is open the help window
// belongs to it. A missing manual (a broken installation) is reported in an
// information box over `parent`.
void ShowHelp(QWidget* parent, int context, const QString& folder = HelpFolder());

// F1 anywhere in `app` shows the page of the window it was pressed in.
void InstallHelpKey(QApplication& app);

// The help window's place: the top-left of its frame and the size of its
// page area; an empty rectangle when it has none yet.
using HelpPlaceLoad = std::function<QRect()>;
using HelpPlaceSave = std::function<void(const QRect&)>;
// While `keeper` lives, the help window opens where `load` says (the place it
// had when the program last closed it) and hands its place to `save` each
// time it is closed.
void KeepHelpPlace(QObject* keeper, HelpPlaceLoad load, HelpPlaceSave save);

// KeepHelpPlace with the place kept in the settings' [Help] keys: written
// through `fs` when it changes, unless `mayWrite` says no (a read-only copy
// remembers it for the run only).
void KeepHelpPlaceInSettings(QWidget* keeper, Settings& settings, FileSystem& fs,
                             std::function<bool()> mayWrite);

// Closes the help window, if one is open; its place is kept as at any close.
void CloseHelp();

// The help window's page view while one exists, else null.
QTextBrowser* HelpBrowser();

}  // namespace pb
