#include "gui/timecard/EntryButtonPanel.h"

#include <QAction>
#include <QGridLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

#include "core/common/Routines.h"
#include "gui/controls/Pbutton.h"
#include "gui/shared/Images.h"
#include "gui/shared/Naming.h"
#include "gui/shared/PanelButtons.h"
#include "gui/shared/Text.h"

namespace pb {

namespace {

constexpr int kPanelWidth = 110;
constexpr int kSavedTextMs = 5000;

}  // namespace

EntryButtonPanel::EntryButtonPanel(QWidget* parent) : QFrame(parent) {
    Name(this, QStringLiteral("Panel1"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setFixedWidth(kPanelWidth);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 8, 6, 8);
    layout->setSpacing(6);

    auto* buttons = new QGridLayout;
    buttons->setSpacing(6);
    auto make = [this](const char* name, const char* caption, const char* glyph, const char* hint) {
        TPanelButton* button =
            MakePanelButton(this, QString::fromLatin1(name), QString::fromUtf8(caption),
                            Glyph(QString::fromLatin1(glyph)), QString::fromUtf8(hint));
        button->setFixedSize(40, 40);
        return button;
    };
    calculate = make("CalcPB", "計算", "Calc", nullptr);
    print = make("PrintPB", "印刷", "Print", nullptr);
    save = make("SavePB", "記録", "Save", nullptr);
    // The three commands of every month have keys, named in their hints.
    for (auto [button, key] : {std::pair{calculate, QKeySequence(Qt::Key_F9)},
                               std::pair{save, QKeySequence(Qt::CTRL | Qt::Key_S)},
                               std::pair{print, QKeySequence(Qt::CTRL | Qt::Key_P)}}) {
        button->setShortcut(key);
        button->setHint(button->caption() + QStringLiteral(" (") +
                        key.toString(QKeySequence::NativeText) + QLatin1Char(')'));
    }
    close = make("ClosePB", "終了", "Exit", nullptr);
    clear = make("PanelButton9", "消去", "Erase", "全入力データの消去");
    restore = make("PanelButton1", "戻す", "Restore", "編集前にデータを戻す");
    buttons->addWidget(calculate, 0, 0);
    buttons->addWidget(print, 0, 1);
    buttons->addWidget(save, 1, 0);
    buttons->addWidget(close, 1, 1);
    buttons->addWidget(clear, 2, 0);
    buttons->addWidget(restore, 2, 1);
    layout->addLayout(buttons);

    BuildTotals();

    // 記録 says for a while that the month is stored, with no box to close.
    saved_ = new QLabel(this);
    Name(saved_, QStringLiteral("SavedLabel"));
    saved_->setAlignment(Qt::AlignCenter);
    layout->addWidget(saved_);
    notes_ = new QLabel(this);
    Name(notes_, QStringLiteral("NotesLabel"));
    notes_->setAlignment(Qt::AlignCenter);
    // A palette, not a style sheet: one of those costs every window some 14 KB.
    QPalette red = notes_->palette();
    red.setColor(QPalette::WindowText, QColor(0xc0, 0x00, 0x00));
    notes_->setPalette(red);
    layout->addWidget(notes_);
    savedTimer_ = new QTimer(this);
    savedTimer_->setSingleShot(true);
    savedTimer_->setInterval(kSavedTextMs);
    connect(savedTimer_, &QTimer::timeout, saved_, &QLabel::clear);
    layout->addStretch(1);
    ResetTotals();
}

void EntryButtonPanel::BuildTotals() {
    auto* totals = new QFrame(this);
    Name(totals, QStringLiteral("TotalsBox"));
    totals->setFrameShape(QFrame::Box);
    totals->setFrameShadow(QFrame::Sunken);
    auto* grid = new QGridLayout(totals);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setVerticalSpacing(2);
    auto label = [totals](const char* name, const QString& text, Qt::Alignment align) {
        auto* l = new QLabel(text, totals);
        Name(l, QString::fromLatin1(name));
        l->setAlignment(align | Qt::AlignVCenter);
        return l;
    };
    grid->addWidget(label("OverMinutesCaption", QStringLiteral("総残業時間"), Qt::AlignLeft), 0, 0,
                    1, 2);
    overMinutes_ = label("TotalOverMinutesLabel", QString(), Qt::AlignRight);
    grid->addWidget(overMinutes_, 1, 0, 1, 2);
    grid->addWidget(label("OverPayCaption", QStringLiteral("総残業賃金"), Qt::AlignLeft), 2, 0, 1,
                    2);
    overPay_ = label("TotalOverPayLabel", QString(), Qt::AlignRight);
    grid->addWidget(overPay_, 3, 0, 1, 2);
    grid->addWidget(label("WorkDaysCaption", QStringLiteral("総勤務日数"), Qt::AlignLeft), 4, 0, 1,
                    2);
    workDays_ = label("WorkDaysLabel", QString(), Qt::AlignRight);
    grid->addWidget(workDays_, 5, 0);
    grid->addWidget(label("WorkDaysUnit", QStringLiteral("日"), Qt::AlignLeft), 5, 1);
    holidayCaption_ = label("HolidayCaptionLabel", QStringLiteral("休日勤務"), Qt::AlignLeft);
    grid->addWidget(holidayCaption_, 6, 0, 1, 2);
    holidayDays_ = label("HolidayWorkDaysLabel", QString(), Qt::AlignRight);
    grid->addWidget(holidayDays_, 7, 0);
    holidayUnit_ = label("HolidayUnitLabel", QStringLiteral("日"), Qt::AlignLeft);
    grid->addWidget(holidayUnit_, 7, 1);
    grid->setColumnStretch(0, 1);
    static_cast<QVBoxLayout*>(layout())->addWidget(totals);
}

void EntryButtonPanel::ShowTotals(const TotalsTexts& totals, const QString& hint) {
    overMinutes_->setText(Q(totals.totalMinutes));
    overPay_->setText(Q(totals.totalYen));
    workDays_->setText(Q(totals.workDays));
    holidayDays_->setText(Q(totals.holidayWorkDays));
    overMinutes_->setToolTip(hint);
    overPay_->setToolTip(hint);
}

void EntryButtonPanel::ResetTotals() {
    overMinutes_->setText(QStringLiteral("00:00"));
    overPay_->setText(Q(FormatYen(0)));
    workDays_->setText(QStringLiteral("0"));
    holidayDays_->setText(QStringLiteral("0"));
    overMinutes_->setToolTip(QString());
    overPay_->setToolTip(QString());
}

void EntryButtonPanel::HideHolidayDays() {
    holidayCaption_->hide();
    holidayDays_->hide();
    holidayUnit_->hide();
}

void EntryButtonPanel::ShowNotes(const QStringList& marks, const QStringList& texts) {
    notes_->setText(marks.join(u'\n'));
    notes_->setToolTip(texts.join(u'\n'));
}

void EntryButtonPanel::ShowSaved() {
    saved_->setText(QStringLiteral("記録しました。"));
    savedTimer_->start();
}

void EntryButtonPanel::ClearSaved() {
    saved_->clear();
}

void EntryButtonPanel::ExecCommandMenu(const QPoint& at, const QList<QAction*>& steps, bool canUndo,
                                       bool canRedo, const QList<QAction*>& more) {
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("CommandMenu"));
    for (TPanelButton* button : {calculate, save, print, clear, restore, close}) {
        if (button == close) {
            menu.addSeparator();
            for (QAction* step : steps) {
                QAction* item = menu.addAction(step->text() + u'\t' +
                                               step->shortcut().toString(QKeySequence::NativeText));
                item->setEnabled(step == steps.front() ? canUndo : canRedo);
                item->setData(QVariant::fromValue(static_cast<QObject*>(step)));
            }
            menu.addSeparator();
            for (QAction* other : more) {
                QAction* item = menu.addAction(
                    other->text() + u'\t' + other->shortcut().toString(QKeySequence::NativeText));
                item->setData(QVariant::fromValue(static_cast<QObject*>(other)));
            }
            if (!more.isEmpty())
                menu.addSeparator();
        }
        const QString key = button->shortcut().toString(QKeySequence::NativeText);
        QAction* item =
            menu.addAction(key.isEmpty() ? button->caption() : button->caption() + u'\t' + key);
        item->setEnabled(button->isEnabled());
        item->setData(QVariant::fromValue(static_cast<QObject*>(button)));
    }
    if (QAction* chosen = menu.exec(at)) {
        QObject* command = chosen->data().value<QObject*>();
        if (auto* button = qobject_cast<TPanelButton*>(command))
            button->click();
        else if (auto* step = qobject_cast<QAction*>(command))
            step->trigger();
    }
}

}  // namespace pb
