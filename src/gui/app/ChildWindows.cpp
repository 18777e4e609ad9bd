#include "gui/app/ChildWindows.h"

#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <exception>
#include <memory>
#include <utility>
#include <vector>

#include "core/store/WorkDataFiles.h"
#include "core/timecard/WorkPattern.h"
#include "gui/employees/ViewRegistData.h"
#include "gui/files/ExportDialog.h"
#include "gui/shared/Guard.h"
#include "gui/shared/Images.h"
#include "gui/shared/Naming.h"
#include "gui/shared/StayDisabled.h"
#include "gui/shared/Text.h"
#include "gui/timecard/DayGridModel.h"
#include "gui/timecard/EntryWindow.h"

namespace pb {

namespace {

EntryWindow* EntryOf(const QMdiSubWindow* child) {
    return qobject_cast<EntryWindow*>(child->widget());
}

}  // namespace

ChildWindows::ChildWindows(const DataFiles& files, Settings& settings, QWidget* parent)
    : QObject(parent), files_(files), settings_(settings), area_(new QMdiArea(parent)) {
    Name(area_, QStringLiteral("ClientArea"));
    firstSteps_ = new QLabel(
        QStringLiteral("従業員が登録されていません。\n\n"
                       "まず、ツールバーの［登録 (日給制)］または［登録 (時給制)］で\n"
                       "従業員を登録して下さい。登録すると［入力］で勤務データを入力できます。"),
        area_->viewport());
    Name(firstSteps_, QStringLiteral("FirstStepsLabel"));
    firstSteps_->setAlignment(Qt::AlignCenter);
    firstSteps_->setWordWrap(true);
    firstSteps_->hide();
    area_->viewport()->installEventFilter(this);
}

void ChildWindows::ShowFirstSteps(bool show) {
    firstSteps_->setVisible(show);
}

bool ChildWindows::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && watched == area_->viewport())
        firstSteps_->setGeometry(area_->viewport()->rect().adjusted(20, 20, -20, -20));
    return QObject::eventFilter(watched, event);
}

void ChildWindows::SetReadOnly() {
    readOnly_ = true;
}

void ChildWindows::SetWritable() {
    readOnly_ = false;
    for (QMdiSubWindow* child : area_->subWindowList()) {
        QWidget* window = child->widget();
        LetEnabled(window->findChild<QWidget*>(QStringLiteral("SavePB")), true);
        // The viewer's 削除 goes with its list, as the viewer itself sets it.
        if (qobject_cast<TViewRD*>(window) != nullptr) {
            const auto* list = window->findChild<QWidget*>(QStringLiteral("StringGrid1"));
            LetEnabled(window->findChild<QWidget*>(QStringLiteral("PanelButton1")),
                       list != nullptr && list->isEnabled());
        }
    }
}

std::vector<EntryWindow*> ChildWindows::Entries() const {
    std::vector<EntryWindow*> entries;
    for (QMdiSubWindow* child : area_->subWindowList())
        if (EntryWindow* entry = EntryOf(child))
            entries.push_back(entry);
    return entries;
}

bool ChildWindows::Reopen(EntryWindow* entry) {
    auto* old = qobject_cast<QMdiSubWindow*>(entry->parentWidget());
    const OpenedMonth& month = entry->Opened();
    EntrySelection selection;
    selection.id = month.id;
    selection.year = month.year;
    selection.month = month.month;
    Guarded(area_->window(), [&] {
        selection.newMonth = FindMonthIndex(files_, month.id, month.year, month.month) < 0;
    });
    EntryWindow* fresh = MakeEntryWindow(selection);
    if (fresh == nullptr)
        return false;
    const int width = fresh->MainWindowWidth();
    if (old != nullptr)
        old->close();
    ShowEntry(fresh, width);
    return true;
}

QMdiSubWindow* ChildWindows::FindEntry(const QString& key) const {
    QMdiSubWindow* found = nullptr;
    for (QMdiSubWindow* child : area_->subWindowList()) {
        const EntryWindow* entry = EntryOf(child);
        if (entry != nullptr && entry->EntryKey() == key)
            found = child;  // the last one found wins
    }
    return found;
}

void ChildWindows::BringUp(QMdiSubWindow* child) {
    area_->setActiveSubWindow(child);
    // Entry windows live maximised: only a minimised one is restored.
    if (child->isMinimized())
        child->showMaximized();
    child->raise();
}

EntryWindow* ChildWindows::MakeEntryWindow(const EntrySelection& selection) {
    std::unique_ptr<EntryWindow> window;
    // The client area stays hidden while the window is built and placed, so
    // it appears once, maximised. A month the core refuses opens no window.
    area_->hide();
    Guarded(area_->window(),
            [&] { window = std::make_unique<EntryWindow>(selection, files_, settings_); });
    area_->show();
    if (!window)
        return nullptr;
    DisableWriting(window.get());
    EntryWindow* entry = window.get();
    connect(entry, &EntryWindow::monthSaved, this, [this, entry] {
        const OpenedMonth& month = entry->Opened();
        emit monthSaved(Q(month.id), month.year, month.month);
    });
    connect(entry, &EntryWindow::mainWidthWanted, this,
            [this](int width) { emit mainWidthWanted(width, true); });
    return window.release();
}

// A month opens with every day and the summary in view where the screen has
// the room; on a smaller screen the main window takes the screen's height and
// the days scroll under their headings. The window never shrinks here; it
// takes the width the month's scheme wants, before the child appears, in one
// step: every resize of the main window paints all of it once more.
void ChildWindows::ShowEntry(EntryWindow* entry, int mainWidth) {
    QWidget* main = area_->window();
    if (main->isMaximized() || main->isFullScreen()) {
        emit mainWidthWanted(mainWidth, true);
        Show(entry);
        return;
    }
    // The selection panel has just been hidden: measure the layout as it is now.
    if (QLayout* layout = area_->parentWidget()->layout())
        layout->activate();
    const int around = main->height() - area_->viewport()->height();
    int wanted = around + entry->WholeMonthHeight();
    const QScreen* shownOn = main->screen();
    const QRect room = shownOn != nullptr ? shownOn->availableGeometry() : QRect();
    if (!room.isEmpty())
        wanted =
            std::min(wanted, room.height() - (main->frameGeometry().height() - main->height()));
    // A wider limit first (a narrower one would resize the window on its own).
    if (mainWidth > main->maximumWidth())
        main->setMaximumWidth(mainWidth);
    const bool taller = wanted > main->height();
    main->resize(mainWidth, std::max(wanted, main->height()));
    emit mainWidthWanted(mainWidth, false);
    // Taller, the frame may reach below the screen: it moves up as far as needed.
    const QRect frame = main->frameGeometry();
    if (taller && !room.isEmpty() && frame.bottom() > room.bottom())
        main->move(frame.x(), std::max(room.top(), room.bottom() + 1 - frame.height()));
    Show(entry);
}

EntryWindow* ChildWindows::CurrentEntry() const {
    const QList<QMdiSubWindow*> children = area_->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        if (EntryWindow* entry = EntryOf(*it))
            return entry;
    return nullptr;
}

void ChildWindows::DescribeCurrentEntry(ExportStart& start) const {
    const EntryWindow* entry = CurrentEntry();
    if (entry == nullptr)
        return;
    const OpenedMonth& month = entry->Opened();
    start.entryId = month.id;
    start.entryYear = month.year;
    start.entryMonth = month.month;
    start.entryTitle = QStringLiteral("%1 %2　%3年%4月分")
                           .arg(Q(month.id), Q(month.name))
                           .arg(month.year)
                           .arg(month.month);
    start.entryModified = entry->Modified();
}

void ChildWindows::OpenViewer() {
    // Built and placed while the client area is hidden, so it appears once,
    // maximised; it reads the files when it becomes the active child.
    area_->hide();
    auto viewer = std::make_unique<TViewRD>(files_, settings_);
    // A deletion in the viewer changes the lists of the selection panel.
    connect(viewer.get(), &TViewRD::EmployeesChanged, this, &ChildWindows::employeesChanged);
    DisableWriting(viewer.get());
    connect(viewer.get(), &TViewRD::mainWidthWanted, this,
            [this](int width) { emit mainWidthWanted(width, false); });
    Show(viewer.release());
}

void ChildWindows::Show(QWidget* window) {
    QMdiSubWindow* child = area_->addSubWindow(window);
    child->setAttribute(Qt::WA_DeleteOnClose);
    child->setWindowIcon(ApplicationIcon());
    area_->show();
    child->showMaximized();
    area_->setActiveSubWindow(child);
}

bool ChildWindows::CloseEntries(
    const std::function<bool(const std::string& id, int year, int month)>& shows) {
    for (QMdiSubWindow* child : area_->subWindowList()) {
        const EntryWindow* entry = EntryOf(child);
        if (entry == nullptr)
            continue;
        const OpenedMonth& month = entry->Opened();
        if (shows(month.id, month.year, month.month) && !child->close())
            return false;
    }
    return true;
}

bool ChildWindows::CloseEntriesOf(const std::string& id, int year, int month) {
    return CloseEntries([&](const std::string& shownId, int shownYear, int shownMonth) {
        return shownId == id && shownYear == year && shownMonth == month;
    });
}

bool ChildWindows::ShowUnsavedEntry() {
    for (QMdiSubWindow* child : area_->subWindowList()) {
        const EntryWindow* entry = EntryOf(child);
        if (entry != nullptr && entry->Modified()) {
            area_->setActiveSubWindow(child);
            return true;
        }
    }
    return false;
}

bool ChildWindows::CloseAll() {
    area_->closeAllSubWindows();
    return area_->subWindowList().isEmpty();
}

void ChildWindows::MinimizeAll() {
    const QList<QMdiSubWindow*> children = area_->subWindowList();
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        (*it)->showMinimized();
}

void ChildWindows::FillWindowMenu(QMenu* menu, QAction* keep) {
    for (QAction* action : menu->actions())
        if (action != keep) {
            menu->removeAction(action);
            action->deleteLater();
        }
    const QList<QMdiSubWindow*> children = area_->subWindowList();
    keep->setEnabled(!children.isEmpty());
    if (children.isEmpty())
        return;
    menu->addSeparator();
    int number = 1;
    for (QMdiSubWindow* child : children) {
        QAction* action =
            menu->addAction(QStringLiteral("&%1 %2").arg(number++).arg(child->windowTitle()));
        action->setCheckable(true);
        action->setChecked(child == area_->activeSubWindow());
        connect(action, &QAction::triggered, area_,
                [this, child] { area_->setActiveSubWindow(child); });
    }
}

namespace {

// A warm-up step stops once it has taken this long.
constexpr int kWarmUpSliceMilliseconds = 4;

// The fonts an entry window draws with, each with the texts it shows in it:
// the captions of both pay schemes' grids, figures, day labels and the
// buttons' hiragana, and, larger, the work pattern's digits. Each run of one
// script is drawn apart, as a font takes its fallbacks script by script.
std::vector<std::pair<QFont, QStringList>> EntryFontsAndTexts() {
    QStringList texts = {QStringLiteral("0123456789:/()-.,%+"), QStringLiteral("日月火水木金土"),
                         QStringLiteral("すべてのかなとひらがな")};
    for (const PayScheme scheme : {PayScheme::Daily, PayScheme::Hourly})
        for (const std::string& caption : ColumnCaptions(scheme, 7))
            texts << Q(caption);
    const QFont font = EntryWindow::WindowFont();
    return {{font, texts}, {DayGridModel::PatternFont(font), {QStringLiteral("0123456789")}}};
}

}  // namespace

ChildWindows::~ChildWindows() = default;

void ChildWindows::WarmUpEntryWindow() {
    if (warmUp_ != WarmUp::NotStarted)
        return;
    warmUp_ = WarmUp::Pictures;
    QTimer::singleShot(0, this, &ChildWindows::WarmUpStep);
}

void ChildWindows::WarmUpStep() {
    switch (warmUp_) {
        case WarmUp::Pictures:
            nextPicture_ = PreparePictures(nextPicture_, kWarmUpSliceMilliseconds);
            if (nextPicture_ == 0)
                warmUp_ = WarmUp::Fonts;
            break;
        case WarmUp::Fonts: {
            // One font a step: loading one with its fallbacks takes about a
            // millisecond a script, its glyphs as much again.
            const auto fonts = EntryFontsAndTexts();
            const auto& [font, texts] = fonts[static_cast<std::size_t>(nextFont_)];
            QImage canvas(8, 8, QImage::Format_ARGB32_Premultiplied);
            QPainter painter(&canvas);
            painter.setFont(font);
            for (const QString& text : texts)
                painter.drawText(0, 6, text);
            if (++nextFont_ == static_cast<int>(fonts.size()))
                warmUp_ = WarmUp::Done;
            break;
        }
        case WarmUp::NotStarted:
        case WarmUp::Done:
            break;
    }
    if (WarmingUp())
        QTimer::singleShot(0, this, &ChildWindows::WarmUpStep);
}

// The commands of a window opened from here that write: 記録 of an entry
// window, 削除 of the viewer.
void ChildWindows::DisableWriting(QWidget* window) const {
    if (!readOnly_)
        return;
    KeepDisabled(window->findChild<QWidget*>(QStringLiteral("SavePB")));
    if (qobject_cast<TViewRD*>(window) != nullptr)
        KeepDisabled(window->findChild<QWidget*>(QStringLiteral("PanelButton1")));
}

}  // namespace pb
