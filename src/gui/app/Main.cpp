#include "gui/app/Main.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyle>
#include <QTranslator>

#include "core/store/DataFiles.h"
#include "core/store/FolderLock.h"
#include "core/store/Recovery.h"
#include "gui/app/DeferredIconStyle.h"
#include "gui/app/MainFrom.h"
#include "gui/app/SingleInstance.h"
#include "gui/shared/Images.h"
#include "gui/shared/MessageOperator.h"
#include "gui/shared/Text.h"

namespace pb {

QString ProgramFolder() {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

void PrepareApplication(QApplication& app) {
    // The windows ask for the Windows fonts by name; the IPA fonts are their
    // closest look-alikes (fixed-pitch half-width ASCII), Noto CJK the fallback.
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"),
                               {QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")});
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"),
                               {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    QFont::insertSubstitutions(QStringLiteral("ＭＳ 明朝"),
                               {QStringLiteral("IPAMincho"), QStringLiteral("Noto Serif CJK JP")});
    QApplication::setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    // The platform's own style; only its icons wait until they are drawn.
    if (QStyle* style = QApplication::style(); qobject_cast<DeferredIconStyle*>(style) == nullptr)
        QApplication::setStyle(new DeferredIconStyle(style));

    // Standard dialogs (colour dialog, standard buttons) speak Japanese whatever
    // the user's locale is, like the rest of the program.
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;

    QApplication::setWindowIcon(QIcon(ApplicationIcon()));
}

namespace {

// The program folder as this copy holds it, for as long as the application
// lives: the lock, or the read-only door when another copy holds the folder.
class HeldFolder final : public QObject {
  public:
    explicit HeldFolder(QObject* parent) : QObject(parent) {}
    std::unique_ptr<FolderLock> lock;
    ReadOnlyFileSystem readOnly;
};

HeldFolder* TakeProgramFolder(QApplication& app, const QString& folder) {
    auto* held = new HeldFolder(&app);
    MessageOperator op;
    LockOutcome outcome = LockProgramFolder(RealFileSystem(), S(folder), op);
    if (outcome.lock) {
        held->lock = std::move(outcome.lock);
        // Only the copy that holds the lock repairs, and before anything is read.
        if (!RecoverProgramFolder(AssignDataFiles(S(folder)), op))
            held->lock.reset();
    } else if (outcome.holder) {
        op.Information(ReadOnlyNotice(*outcome.holder));
    } else {
        op.Information(outcome.problem);
    }
    return held;
}

}  // namespace

std::unique_ptr<TMainFrom> StartProgram(QApplication& app, SingleInstance& instance) {
    // The name the desktop lists the program under; the main window's caption
    // is its own. No display name: X11 would append it to every caption.
    QCoreApplication::setApplicationName(QStringLiteral("Tanager"));

    if (!instance.Acquire()) {
        if (instance.SignalRunningCopy())
            return nullptr;
        // Nobody answered: the other copy was just closing. Run when the lock
        // is free now; otherwise end quietly, as a second copy must.
        if (!instance.Acquire())
            return nullptr;
    }

    PrepareApplication(app);
    const QString folder = ProgramFolder();
    HeldFolder* held = TakeProgramFolder(app, folder);
    std::unique_ptr<TMainFrom> mainFrom;
    if (held->lock) {
        mainFrom = std::make_unique<TMainFrom>(folder);
    } else {
        mainFrom = std::make_unique<TMainFrom>(folder, held->readOnly);
        mainFrom->SetReadOnly();
    }
    QObject::connect(&instance, &SingleInstance::ActivationRequested, mainFrom.get(),
                     &TMainFrom::BringToFront);
    mainFrom->show();
    return mainFrom;
}

int RunPunchbook(int argc, char** argv) {
    QApplication app(argc, argv);
    SingleInstance instance(SingleInstance::DefaultName());
    const std::unique_ptr<TMainFrom> mainFrom = StartProgram(app, instance);
    if (mainFrom == nullptr)
        return 0;
    return QApplication::exec();
}

}  // namespace pb
