#include "gui/shared/Help.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHideEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPointer>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>

#include "core/store/DataFolder.h"
#include "core/store/Settings.h"
#include "gui/shared/Guard.h"
#include "gui/shared/Messages.h"
#include "gui/shared/Naming.h"
#include "gui/shared/Text.h"

namespace pb {

namespace {

struct Topic {
    int context;
    const char* page;
};

// The windows' help context numbers and their pages.
constexpr Topic kTopics[] = {
    {0, "index.html"},           // contents
    {2, "main.html"},            // main window
    {3, "daily-form.html"},      // daily-wage form
    {4, "viewer.html"},          // employee viewer
    {5, "conversion.html"},      // data conversion
    {7, "hourly-form.html"},     // hourly-wage form
    {8, "entry.html"},           // entry window
    {9, "report.html"},          // report preview
    {10, "calc-settings.html"},  // calculation settings
    {11, "update.html"},         // update confirmation
    {12, "about.html"},          // about dialog
    {13, "export.html"},         // export
    {14, "backup.html"},         // restore from a backup, check of the data folder
    {15, "import.html"},         // import of clock times
    {16, "overview.html"},       // month overview
    {17, "year.html"},           // an employee's year
};

const QString kContents = QStringLiteral("index.html");

// Where the help window's place comes from and goes to.
struct PlaceStore {
    QPointer<QObject> keeper;
    HelpPlaceLoad load;
    HelpPlaceSave save;
};
PlaceStore& Store() {
    static PlaceStore store;
    return store;
}
const QString kTitle = QStringLiteral("Punchbook ヘルプ");

class HelpWindow : public QMainWindow {
  public:
    explicit HelpWindow(QWidget* owner) : QMainWindow(owner, Qt::Window) {
        Name(this, QStringLiteral("HelpWindow"));
        setAttribute(Qt::WA_DeleteOnClose, false);
        setWindowTitle(kTitle);
        resize(640, 560);

        browser_ = new QTextBrowser(this);
        Name(browser_, QStringLiteral("HelpBrowser"));
        browser_->setOpenExternalLinks(true);
        setCentralWidget(browser_);

        QToolBar* bar = addToolBar(QStringLiteral("ヘルプ"));
        Name(bar, QStringLiteral("HelpToolBar"));
        bar->setMovable(false);
        bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        const auto tool = [this, bar](const QString& name, const QString& text,
                                      QStyle::StandardPixmap icon, const QKeySequence& key) {
            QAction* action = bar->addAction(style()->standardIcon(icon), text);
            Name(action, name);
            action->setShortcut(key);
            return action;
        };
        QAction* contents = tool(QStringLiteral("HelpContentsButton"), QStringLiteral("目次"),
                                 QStyle::SP_DirHomeIcon, QKeySequence(Qt::ALT | Qt::Key_Home));
        QAction* back = tool(QStringLiteral("HelpBackButton"), QStringLiteral("戻る"),
                             QStyle::SP_ArrowBack, QKeySequence::Back);
        QAction* forward = tool(QStringLiteral("HelpForwardButton"), QStringLiteral("進む"),
                                QStyle::SP_ArrowForward, QKeySequence::Forward);
        back->setEnabled(false);
        forward->setEnabled(false);
        connect(contents, &QAction::triggered, browser_, &QTextBrowser::home);
        connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
        connect(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
        connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
        connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
        connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
            const QString page = browser_->documentTitle();
            setWindowTitle(page.isEmpty() ? kTitle : kTitle + QStringLiteral(" - ") + page);
        });
    }

    // Opens `page`; the first page opened is where 目次 leads.
    void Open(const QString& folder, const QString& page) {
        if (browser_->source().isEmpty()) {
            browser_->setSource(QUrl::fromLocalFile(folder + kContents));
            browser_->clearHistory();
        }
        if (browser_->source() != QUrl::fromLocalFile(folder + page))
            browser_->setSource(QUrl::fromLocalFile(folder + page));
    }

    QTextBrowser* Browser() const { return browser_; }

    // Before the window is shown: the place it was last closed at, in this
    // run or an earlier one. Placed by the program, not by the window manager,
    // it opens there again instead of wherever a new window would go.
    void TakeItsPlace() {
        const QRect place = Store().keeper != nullptr && Store().load ? Store().load() : place_;
        if (!place.isValid())
            return;
        resize(place.size());
        // A place on a screen that is gone is not taken: the window would be out of reach.
        if (QGuiApplication::screenAt(place.topLeft() + QPoint(kTitleGrip, kTitleGrip)) != nullptr)
            move(place.topLeft());
    }

    // Notes the place the window is at now.
    void KeepItsPlace() {
        place_ = QRect(pos(), size());
        if (Store().keeper != nullptr && Store().save)
            Store().save(place_);
    }

  protected:
    void hideEvent(QHideEvent* event) override {
        // A close or a change of owner; a minimised window keeps its old place.
        if (!event->spontaneous() && !isMinimized())
            KeepItsPlace();
        QMainWindow::hideEvent(event);
    }

  private:
    // Enough of the title bar to drag the window by.
    static constexpr int kTitleGrip = 20;
    QTextBrowser* browser_;
    QRect place_;
};

QPointer<HelpWindow> theHelp;

// F1 in any window of the program.
class HelpKey : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr || (theHelp != nullptr && widget->window() == theHelp))
            return false;
        ShowHelp(widget, HelpContextOf(widget));
        return true;
    }
};

}  // namespace

QString HelpPage(int context) {
    for (const Topic& topic : kTopics)
        if (topic.context == context)
            return QString::fromLatin1(topic.page);
    return kContents;
}

QStringList HelpPages() {
    QStringList pages;
    for (const Topic& topic : kTopics)
        pages << QString::fromLatin1(topic.page);
    return pages;
}

QString HelpFolder() {
    return Q(InstalledFile(RealFileSystem(), S(QCoreApplication::applicationDirPath()), "help")) +
           QLatin1Char('/');
}

int HelpContextOf(const QWidget* widget) {
    for (; widget != nullptr; widget = widget->parentWidget()) {
        const int context = widget->property("HelpContext").toInt();
        if (context > 0)
            return context;
    }
    return 0;
}

void ShowHelp(QWidget* parent, int context, const QString& folder) {
    const QString contents = folder + kContents;
    if (!QFileInfo::exists(contents)) {
        Messages::Information(parent, QStringLiteral("ヘルプファイル %1 が見つかりません。")
                                          .arg(QDir::toNativeSeparators(contents)));
        return;
    }
    QString page = HelpPage(context);
    if (!QFileInfo::exists(folder + page))
        page = kContents;

    QWidget* owner = QApplication::activeModalWidget();
    if (theHelp == nullptr) {
        theHelp = new HelpWindow(owner);
    } else if (theHelp->parentWidget() != owner) {
        // The window is hidden while its owner changes and then shown again
        // where it was.
        theHelp->setParent(owner, Qt::Window);
    }
    auto* dialog = qobject_cast<QDialog*>(owner);
    if (dialog != nullptr && !dialog->property("helpWindowReturns").toBool()) {
        // When the dialog closes the help window stays, on its own again.
        dialog->setProperty("helpWindowReturns", true);
        QObject::connect(dialog, &QDialog::finished, theHelp, [dialog] {
            if (theHelp == nullptr || theHelp->parentWidget() != dialog)
                return;
            const bool visible = theHelp->isVisible();
            theHelp->setParent(nullptr, Qt::Window);
            if (visible) {
                theHelp->TakeItsPlace();
                theHelp->show();
            }
        });
    }
    theHelp->Open(folder, page);
    if (!theHelp->isVisible())
        theHelp->TakeItsPlace();
    theHelp->show();
    if (theHelp->isMinimized())
        theHelp->setWindowState(theHelp->windowState() & ~Qt::WindowMinimized);
    theHelp->raise();
    theHelp->activateWindow();
}

void InstallHelpKey(QApplication& app) {
    const QString name = QStringLiteral("HelpKey");
    if (app.findChild<QObject*>(name, Qt::FindDirectChildrenOnly) != nullptr)
        return;
    auto* key = new HelpKey(&app);
    key->setObjectName(name);
    app.installEventFilter(key);
}

void KeepHelpPlace(QObject* keeper, HelpPlaceLoad load, HelpPlaceSave save) {
    Store() = PlaceStore{keeper, std::move(load), std::move(save)};
}

void KeepHelpPlaceInSettings(QWidget* keeper, Settings& settings, FileSystem& fs,
                             std::function<bool()> mayWrite) {
    KeepHelpPlace(
        keeper,
        [&settings] {
            const HelpSettings& help = settings.Help;
            return help.Width > 0 && help.Height > 0
                       ? QRect(help.Left, help.Top, help.Width, help.Height)
                       : QRect();
        },
        [keeper, &settings, &fs, mayWrite = std::move(mayWrite)](const QRect& place) {
            const HelpSettings now{place.left(), place.top(), place.width(), place.height()};
            if (now == settings.Help)
                return;
            settings.Help = now;
            if (mayWrite())
                Guarded(keeper, [&] { WriteSettings(fs, settings); });
        });
}

void CloseHelp() {
    if (theHelp != nullptr)
        theHelp->close();
}

QTextBrowser* HelpBrowser() {
    return theHelp == nullptr ? nullptr : theHelp->Browser();
}

}  // namespace pb
