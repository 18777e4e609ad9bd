#include "gui/app/Main.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyle>
#include <QTranslator>
#include <exception>
#include <iostream>

#include "core/store/DataFolder.h"
#include "gui/app/DeferredIconStyle.h"
#include "gui/app/HeldFolder.h"
#include "gui/app/MainWindow.h"
#include "gui/app/MenuBarKey.h"
#include "gui/app/SingleInstance.h"
#include "gui/shared/Help.h"
#include "gui/shared/Images.h"
#include "gui/shared/MessageOperator.h"
#include "gui/shared/Messages.h"
#include "gui/shared/Text.h"

namespace pb {

QString ProgramFolder() {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

QString OpenDataFolder(const QString& folderOption) {
    const DataFolder folder = ChooseDataFolder(CurrentFolderEnvironment(S(folderOption)));
    PrepareDataFolder(folder);
    return Q(folder.path);
}

std::optional<QString> ReadCommandLine(const QStringList& arguments, int& exitCode) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("タイムカードと勤怠計算"));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption folder(
        QStringLiteral("folder"),
        QStringLiteral("データフォルダ（既定: ~/.local/share/punchbook）"), QStringLiteral("DIR"));
    parser.addOption(folder);
    exitCode = 0;
    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
        const QString error = parser.errorText().isEmpty()
                                  ? QStringLiteral("不明な指定です: ") +
                                        parser.positionalArguments().join(QLatin1Char(' '))
                                  : parser.errorText();
        std::cerr << "punchbook: " << S(error) << "\n" << S(parser.helpText());
        exitCode = 2;
        return std::nullopt;
    }
    if (parser.isSet(help)) {
        std::cout << S(parser.helpText());
        return std::nullopt;
    }
    return parser.value(folder);
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
    // Desktops match the windows with the installed desktop entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("punchbook"));
    InstallHelpKey(app);
}

std::unique_ptr<MainWindow> StartProgram(QApplication& app, SingleInstance& instance,
                                         const QString& folderOption) {
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
    const QString folder = OpenDataFolder(folderOption);
    auto* held = new HeldFolder(folder, &app);
    MessageOperator op;
    held->Take(op);
    auto mainFrom = std::make_unique<MainWindow>(folder, held->Door());
    if (!held->Holds())
        mainFrom->SetReadOnly();
    GiveMenuBarKey(*mainFrom);
    QObject::connect(&instance, &SingleInstance::ActivationRequested, mainFrom.get(),
                     &MainWindow::BringToFront);
    held->Serve(*mainFrom);
    mainFrom->show();
    return mainFrom;
}

int RunPunchbook(int argc, char** argv) {
    QApplication app(argc, argv);
    int exitCode = 0;
    const std::optional<QString> folderOption = ReadCommandLine(app.arguments(), exitCode);
    if (!folderOption)
        return exitCode;
    SingleInstance instance(SingleInstance::DefaultName());
    std::unique_ptr<MainWindow> mainFrom;
    try {
        mainFrom = StartProgram(app, instance, *folderOption);
    } catch (const std::exception& error) {
        // No data folder to work in: say why, and end.
        Messages::Failure(nullptr, error);
        return 1;
    }
    if (mainFrom == nullptr)
        return 0;
    return QApplication::exec();
}

}  // namespace pb
