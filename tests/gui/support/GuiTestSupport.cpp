#include "support/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <memory>
#include <ostream>
#include <utility>

#include "gui/controls/Pbutton.h"

void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace pb::test {

void Click(const QObject& parent, const QString& name) {
    if (auto* button = Find<TPanelButton>(parent, name))
        button->click();
}

void AnswerNextModal(std::function<void(QWidget*)> answer, int timeoutMs, const QWidget* opener) {
    auto* timer = new QTimer(qApp);
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, started, answer, timeoutMs, opener]() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal != opener && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            answer(modal);
            return;
        }
        if (started->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no modal window appeared within " << timeoutMs << " ms";
        }
    });
    timer->start();
}

ScriptedMessages::ScriptedMessages() {
    previous_ = Messages::SetAnswerer(
        [this](Messages::Kind kind, const QString& text, int, Messages::Button defaultButton) {
            shown_ << Messages::Title(kind) + QStringLiteral(":") + text;
            if (answers_.empty())
                return defaultButton;
            const Messages::Button answer = answers_.front();
            answers_.pop_front();
            return answer;
        });
}

ScriptedMessages::~ScriptedMessages() {
    Messages::SetAnswerer(std::move(previous_));
    EXPECT_TRUE(answers_.empty()) << answers_.size() << " answers were never asked for";
}

QStringList ScriptedMessages::Take() {
    return std::exchange(shown_, {});
}

void ClickButton(QWidget* modal, const QString& text) {
    const auto buttons = modal->findChildren<QAbstractButton*>();
    for (QAbstractButton* button : buttons) {
        if (button->text() == text) {
            button->click();
            return;
        }
    }
    QStringList seen;
    for (QAbstractButton* button : buttons)
        seen << button->text();
    ADD_FAILURE() << "no button " << text.toStdString() << " among "
                  << seen.join(", ").toStdString();
    modal->close();
}

QString MessageText(QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal))
        return box->text();
    return {};
}

void ProcessEvents(int ms) {
    QElapsedTimer timer;
    timer.start();
    do {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    } while (timer.elapsed() < ms);
}

}  // namespace pb::test
