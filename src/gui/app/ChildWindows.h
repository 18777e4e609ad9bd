#pragma once
// The main window's child windows: the entry windows of months and the
// employee viewer, in the client area. Opening, finding, closing and
// minimising them is done here; the main window decides when.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/store/DataFiles.h"
#include "core/store/Settings.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QWidget;

namespace pb {

struct EntrySelection;
struct ExportStart;
class EntryWindow;

class ChildWindows : public QObject {
    Q_OBJECT
  public:
    // Makes the client area (objectName "ClientArea") as a child of `parent`.
    ChildWindows(const DataFiles& files, Settings& settings, QWidget* parent);
    ~ChildWindows() override;

    QMdiArea* Area() const { return area_; }
    // What to do first, shown in the empty client area while nobody is registered.
    void ShowFirstSteps(bool show);

    // Every window opened from now on cannot write (記録, the viewer's 削除).
    void SetReadOnly();
    // The copy may write after all: the open windows' writing commands too.
    void SetWritable();

    // The entry window of `key` (see EntryWindow::MakeEntryKey), or null.
    QMdiSubWindow* FindEntry(const QString& key) const;
    // Activates a child; a minimised one is restored (children live maximised).
    void BringUp(QMdiSubWindow* child);
    // A new entry window, built while the client area is hidden and not yet
    // shown; null when the core refuses the month (the operator was told).
    EntryWindow* MakeEntryWindow(const EntrySelection& selection);
    // Shows a window MakeEntryWindow made, the main window first taking the
    // room its month wants at `mainWidth`.
    void ShowEntry(EntryWindow* entry, int mainWidth);
    // Every open entry window, in the order the client area lists them.
    std::vector<EntryWindow*> Entries() const;
    // Opens `entry`'s month anew from the files in a window of its own, put
    // where `entry` was, which closes; false when the core refuses the month
    // now (the operator was told, and `entry` stays).
    bool Reopen(EntryWindow* entry);
    // The entry window in use (the active one, else the last one active), or null.
    EntryWindow* CurrentEntry() const;
    // The month of the entry window in use, where an export starts.
    void DescribeCurrentEntry(ExportStart& start) const;

    // Opens the employee viewer.
    void OpenViewer();
    // Adds a window as a maximised child and activates it.
    void Show(QWidget* window);

    // Closes the entry windows whose month `shows` says; each asks about its
    // unsaved edits. False when one stays open.
    bool CloseEntries(const std::function<bool(const std::string& id, int year, int month)>& shows);
    bool CloseEntriesOf(const std::string& id, int year, int month);
    // Activates an entry window with unsaved edits; false when there is none.
    bool ShowUnsavedEntry();
    // Closes every child; false when one stays open.
    bool CloseAll();
    // Minimises every child, from the last to the first.
    void MinimizeAll();
    // The window menu: `keep` (すべてをアイコン化), then one item per child.
    void FillWindowMenu(QMenu* menu, QAction* keep);

    // Makes ready what only the first entry window would otherwise wait for:
    // its pictures, and its fonts with their fallbacks and the glyphs of the
    // texts it shows (no window is built or painted for it). It goes a step of
    // a few milliseconds per pass of the event loop: keys typed meanwhile are
    // answered at once.
    void WarmUpEntryWindow();
    // Started and not yet done.
    bool WarmingUp() const { return warmUp_ != WarmUp::NotStarted && warmUp_ != WarmUp::Done; }

  signals:
    // An entry window wrote its month.
    void monthSaved(const QString& id, int year, int month);
    // The active child wants the main window this wide; `resize` when the
    // window takes the width, not only the limit.
    void mainWidthWanted(int width, bool resize);
    // The viewer deleted an employee.
    void employeesChanged();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void DisableWriting(QWidget* window) const;
    void WarmUpStep();

    const DataFiles& files_;
    Settings& settings_;
    QMdiArea* area_ = nullptr;
    QLabel* firstSteps_ = nullptr;
    bool readOnly_ = false;

    enum class WarmUp { NotStarted, Pictures, Fonts, Done };
    WarmUp warmUp_ = WarmUp::NotStarted;
    int nextPicture_ = 0;
    int nextFont_ = 0;
};

}  // namespace pb
