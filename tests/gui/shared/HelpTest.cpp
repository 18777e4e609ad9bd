// The manual and its help window: every page a window opens is there, every
// link leads somewhere, F1 follows the window in use, and the help window
// stays usable under a modal dialog.
#include "gui/shared/Help.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "support/GuiTestSupport.h"

namespace pb {
namespace {

QString ShownPage() {
    QTextBrowser* browser = HelpBrowser();
    return browser == nullptr ? QString() : browser->source().fileName();
}

TEST(Help, EveryPageIsThereAndEveryLinkLeadsToAPage) {
    const QDir folder(HelpFolder());
    for (const QString& page : HelpPages())
        EXPECT_TRUE(folder.exists(page)) << page.toStdString();

    // Links between pages, and which pages the contents reach.
    const QRegularExpression link(QStringLiteral("href=\"([^\"#:]+)(#[^\"]*)?\""));
    QSet<QString> linkedFromContents;
    const QStringList pages = folder.entryList({QStringLiteral("*.html")});
    ASSERT_GE(pages.size(), HelpPages().size());
    for (const QString& page : pages) {
        QFile file(folder.filePath(page));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        EXPECT_TRUE(html.contains(QStringLiteral("<title>"))) << page.toStdString();
        for (const QRegularExpressionMatch& m : link.globalMatch(html)) {
            EXPECT_TRUE(folder.exists(m.captured(1)))
                << page.toStdString() << " links to " << m.captured(1).toStdString();
            if (page == QStringLiteral("index.html"))
                linkedFromContents.insert(m.captured(1));
        }
    }
    for (const QString& page : pages) {
        if (page != QStringLiteral("index.html")) {
            EXPECT_TRUE(linkedFromContents.contains(page))
                << page.toStdString() << " is not in the contents";
        }
    }
}

TEST(Help, F1OpensThePageOfTheWindowInUse) {
    InstallHelpKey(*qApp);
    struct Case {
        int context;  // of the window; 0: none
        const char* page;
    } cases[] = {
        {2, "main.html"}, {8, "entry.html"}, {10, "calc-settings.html"}, {0, "index.html"}};
    for (const Case& c : cases) {
        QWidget window;
        if (c.context > 0)
            window.setProperty("HelpContext", c.context);
        auto* panel = new QWidget(&window);  // the context is found up the parents
        auto* layout = new QVBoxLayout(panel);
        auto* field = new QLineEdit(panel);
        layout->addWidget(field);
        window.show();
        field->setFocus();
        QTest::keyClick(field, Qt::Key_F1);
        EXPECT_EQ(ShownPage(), QString::fromLatin1(c.page)) << c.context;
    }
}

TEST(Help, UnderAModalDialogTheHelpWindowBelongsToItUntilItCloses) {
    QDialog dialog;
    dialog.setProperty("HelpContext", 3);
    QWidget* helpParent = nullptr;
    test::AnswerNextModal([&](QWidget* modal) {
        ShowHelp(modal, HelpContextOf(modal));
        helpParent = HelpBrowser()->window()->parentWidget();
        static_cast<QDialog*>(modal)->reject();
    });
    dialog.exec();
    EXPECT_EQ(helpParent, &dialog);  // else the dialog would block it
    EXPECT_EQ(ShownPage(), QStringLiteral("daily-form.html"));
    QWidget* help = HelpBrowser()->window();
    EXPECT_EQ(help->parentWidget(), nullptr);
    EXPECT_TRUE(help->isVisible());

    // Contents, back and forward.
    ShowHelp(nullptr, 4);
    EXPECT_EQ(ShownPage(), QStringLiteral("viewer.html"));
    HelpBrowser()->backward();
    EXPECT_EQ(ShownPage(), QStringLiteral("daily-form.html"));
    HelpBrowser()->forward();
    EXPECT_EQ(ShownPage(), QStringLiteral("viewer.html"));
    HelpBrowser()->home();
    EXPECT_EQ(ShownPage(), QStringLiteral("index.html"));
}

TEST(Help, AMissingManualIsReported) {
    const QTemporaryDir empty;
    QString title;
    QString text;
    test::AnswerNextModal([&](QWidget* modal) {
        title = modal->windowTitle();
        text = test::MessageText(modal);
        test::ClickButton(modal, QStringLiteral("OK"));
    });
    ShowHelp(nullptr, 2, empty.path() + QLatin1Char('/'));
    EXPECT_EQ(title, QStringLiteral("情報"));
    EXPECT_TRUE(text.contains(QStringLiteral("index.html"))) << text.toStdString();
}

}  // namespace
}  // namespace pb
