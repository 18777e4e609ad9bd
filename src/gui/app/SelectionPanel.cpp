#include "gui/app/SelectionPanel.h"

#include <QComboBox>
#include <QDate>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStringListModel>
#include <QTimer>
#include <algorithm>
#include <exception>
#include <optional>
#include <set>
#include <vector>

#include "core/store/EmployeeFiles.h"
#include "core/store/WorkDataFiles.h"
#include "gui/controls/Pbutton.h"
#include "gui/shared/DropDown.h"
#include "gui/shared/Guard.h"
#include "gui/shared/Images.h"
#include "gui/shared/MessageOperator.h"
#include "gui/shared/Messages.h"
#include "gui/shared/Naming.h"
#include "gui/shared/PanelButtons.h"
#include "gui/shared/SchemeBox.h"
#include "gui/shared/Text.h"
#include "gui/shared/YearIndexer.h"

namespace pb {

namespace {

constexpr int kPanelHeight = 44;
// A selection step reads on in a year file at most this much: when that does
// not tell, the year is indexed beside the window and the indicator follows.
constexpr std::uint64_t kStepBudget = 64 * 1024;
// The year box has settled when it has not moved for this long; the years it
// passed on the way are not read.
constexpr int kSettleMilliseconds = 400;

const QString kNoDataHint = QStringLiteral("登録されたデータは有りません");
const QString kDataHint = QStringLiteral("登録されたデータが有ります");

}  // namespace

SelectionPanel::SelectionPanel(const DataFiles& files, QWidget* parent)
    : QWidget(parent), files_(files) {
    Name(this, QStringLiteral("SelectionPanel"));
    setFixedHeight(kPanelHeight);
    setVisible(false);

    auto caption = [this](const QString& text, int x) {
        auto* label = new QLabel(text, this);
        label->move(x, 1);
        label->adjustSize();
        return label;
    };
    QLabel* schemeCaption = caption(QStringLiteral("給料区分"), 4);
    schemeBox_ = new QComboBox(this);
    Name(schemeBox_, QStringLiteral("ComboBox4"));
    schemeBox_->addItems({QStringLiteral("日給制"), QStringLiteral("時給制")});
    schemeBox_->setGeometry(4, 18, 68, 22);

    QLabel* idCaption = caption(QStringLiteral("ＩＤ"), 75);
    idBox_ = new QComboBox(this);
    Name(idBox_, QStringLiteral("ComboBox1"));
    // A list of texts: filled in one step, without an item object for each ID.
    idList_ = new QStringListModel(idBox_);
    idBox_->setModel(idList_);
    idBox_->setGeometry(75, 18, 52, 22);

    QLabel* nameCaption = caption(QStringLiteral("氏名"), 130);
    nameEdit_ = new QLineEdit(this);
    Name(nameEdit_, QStringLiteral("NameEdit"));
    nameEdit_->setReadOnly(true);
    nameEdit_->setFocusPolicy(Qt::NoFocus);  // the focus goes on to the ID
    nameEdit_->setGeometry(130, 18, 100, 22);

    QLabel* yearCaption = caption(QStringLiteral("年度"), 233);
    yearBox_ = new QComboBox(this);
    Name(yearBox_, QStringLiteral("ComboBox2"));
    yearBox_->setEditable(true);
    RoomyRows(yearBox_);
    yearBox_->setInsertPolicy(QComboBox::NoInsert);
    yearBox_->setGeometry(233, 18, 62, 22);
    yearBox_->installEventFilter(this);
    yearBox_->lineEdit()->installEventFilter(this);

    QLabel* monthCaption = caption(QStringLiteral("月"), 298);
    monthBox_ = new QComboBox(this);
    Name(monthBox_, QStringLiteral("ComboBox3"));
    for (int month = 1; month <= 12; ++month)
        monthBox_->addItem(QStringLiteral("%1月").arg(month, 2, 10, QLatin1Char(' ')));
    monthBox_->setGeometry(298, 18, 56, 22);
    // The captions above the boxes are their names for screen readers (drop-down
    // lists are announced by their value, with the caption as their label).
    for (auto [label, box] : {std::pair<QLabel*, QWidget*>{schemeCaption, schemeBox_},
                              {idCaption, idBox_},
                              {nameCaption, nameEdit_},
                              {yearCaption, yearBox_},
                              {monthCaption, monthBox_}})
        label->setBuddy(box);
    NameAfter(schemeBox_, {QStringLiteral("給料区分")});
    NameAfter(idBox_, {QStringLiteral("ＩＤ")});
    NameAfter(nameEdit_, {QStringLiteral("氏名")});
    NameAfter(yearBox_, {QStringLiteral("年度")});
    NameAfter(monthBox_, {QStringLiteral("月")});

    indicator_ = new QLabel(this);
    Name(indicator_, QStringLiteral("Image1"));
    indicator_->setGeometry(358, 6, 32, 32);
    indicator_->setToolTip(kNoDataHint);
    ShowIcon(false);

    const QFont buttonFont(QStringLiteral("ＭＳ Ｐゴシック"), 9);
    startButton_ = MakePanelButton(this, QStringLiteral("PanelButton10"), QStringLiteral("開始"),
                                   Glyph(QStringLiteral("Start")), QStringLiteral("入力開始"));
    deleteButton_ =
        MakePanelButton(this, QStringLiteral("PanelButton8"), QStringLiteral("削除"),
                        Glyph(QStringLiteral("Delete")), QStringLiteral("入力勤務データの削除"));
    for (TPanelButton* button : {startButton_, deleteButton_}) {
        button->setFont(buttonFont);
        button->resize(44, 40);
        button->move(button->x(), 2);
        // Reached with Tab after the month and pressed with Space or Enter.
        button->setFocusPolicy(Qt::TabFocus);
    }
    connect(startButton_, &TPanelButton::clicked, this, &SelectionPanel::startClicked);
    connect(deleteButton_, &TPanelButton::clicked, this, &SelectionPanel::DeleteMonth);
    deleteButton_->setEnabled(false);

    setTabOrder(schemeBox_, idBox_);
    setTabOrder(idBox_, yearBox_);
    setTabOrder(yearBox_, monthBox_);
    setTabOrder(monthBox_, startButton_);
    setTabOrder(startButton_, deleteButton_);

    connect(schemeBox_, &QComboBox::currentIndexChanged, this, &SelectionPanel::FillEmployees);
    connect(idBox_, &QComboBox::currentIndexChanged, this, &SelectionPanel::EmployeeChanged);
    connect(yearBox_, &QComboBox::currentIndexChanged, this, &SelectionPanel::YearChanged);
    connect(monthBox_, &QComboBox::currentIndexChanged, this, &SelectionPanel::UpdateMonthState);

    indexer_ = new YearIndexer(files_, this);
    connect(indexer_, &YearIndexer::Indexed, this, [this](int year) {
        if (Year() == QString::number(year))
            LookUpMonth(0);
    });
    settle_ = new QTimer(this);
    settle_->setSingleShot(true);
    settle_->setInterval(kSettleMilliseconds);
    connect(settle_, &QTimer::timeout, this, &SelectionPanel::UpdateMonthState);

    blinkTimer_ = new QTimer(this);
    Name(blinkTimer_, QStringLiteral("Timer1"));
    blinkTimer_->setInterval(500);
    connect(blinkTimer_, &QTimer::timeout, this, &SelectionPanel::Blink);
    blinkTimer_->start();
}

// --- the selection -----------------------------------------------------------

PayScheme SelectionPanel::Scheme() const {
    return SchemeOfIndex(schemeBox_->currentIndex());
}

QString SelectionPanel::ID() const {
    return idBox_->currentIndex() >= 0 ? idBox_->itemText(idBox_->currentIndex()) : QString();
}

QString SelectionPanel::Year() const {
    return yearBox_->currentIndex() >= 0 ? yearBox_->itemText(yearBox_->currentIndex()) : QString();
}

int SelectionPanel::Month() const {
    QString digits;
    for (QChar c : monthBox_->currentText())
        if (c.isDigit())
            digits += c;
    return digits.toInt();
}

QString SelectionPanel::MonthItem() const {
    return monthBox_->currentText();
}

QStringList SelectionPanel::Years() const {
    QStringList years;
    for (int i = 0; i < yearBox_->count(); ++i)
        years << yearBox_->itemText(i);
    return years;
}

void SelectionPanel::SetReadOnly() {
    readOnly_ = true;
    deleteButton_->setEnabled(false);
}

void SelectionPanel::SetWritable() {
    readOnly_ = false;
    UpdateMonthState();
}

void SelectionPanel::SetMonthWindowCloser(
    std::function<bool(const std::string& id, int year, int month)> close) {
    closeMonthWindows_ = std::move(close);
}

void SelectionPanel::TakeFocus() {
    schemeBox_->setFocus(Qt::OtherFocusReason);
}

// --- the lists -----------------------------------------------------------------

void SelectionPanel::FillYearList() {
    const QSignalBlocker blocker(yearBox_);
    yearBox_->clear();
    std::set<QString> years;
    Guarded(this, [&] {
        std::vector<std::string> paths;
        ScanFolder(files_, files_.Folder, paths);
        for (const std::string& path : paths)
            if (const std::optional<std::string> year = YearOfWorkFile(path))
                years.insert(Q(*year));
    });
    if (years.empty())
        years.insert(QString::number(QDate::currentDate().year()));
    for (const QString& year : years)
        yearBox_->addItem(year);
    yearBox_->setCurrentIndex(0);
    UpdateMonthState();
}

void SelectionPanel::FillEmployees() {
    const QSignalBlocker blocker(idBox_);
    nameEdit_->clear();
    QStringList items;
    Guarded(this, [&] {
        std::vector<std::string> ids;
        ListEmployeeIDs(files_, ids, Scheme());
        // Sorted, as the list shows them; the file keeps the order of registration.
        std::sort(ids.begin(), ids.end());
        items.reserve(static_cast<qsizetype>(ids.size()));
        for (const std::string& id : ids)
            items << Q(id);
    });
    idList_->setStringList(items);
    idBox_->setCurrentIndex(idBox_->count() > 0 ? 0 : -1);
    {
        // One month-state update for the whole change, below.
        const QSignalBlocker years(yearBox_);
        const QSignalBlocker months(monthBox_);
        yearBox_->setCurrentIndex(yearBox_->count() > 0 ? 0 : -1);
        monthBox_->setCurrentIndex(0);
    }
    EmployeeChanged();
}

void SelectionPanel::FollowEmployees() {
    const QString id = ID();
    const int year = yearBox_->currentIndex();
    const int month = monthBox_->currentIndex();
    FillEmployees();
    const int index = idList_->stringList().indexOf(id);
    if (id.isEmpty() || index < 0)
        return;
    {
        const QSignalBlocker ids(idBox_);
        const QSignalBlocker years(yearBox_);
        const QSignalBlocker months(monthBox_);
        idBox_->setCurrentIndex(index);
        yearBox_->setCurrentIndex(year);
        monthBox_->setCurrentIndex(month);
    }
    EmployeeChanged();
}

void SelectionPanel::EmployeeChanged() {
    QString name;
    const QString id = ID();
    if (!id.isEmpty())
        Guarded(this, [&] { name = Q(FindEmployeeName(files_, S(id), Scheme())); });
    nameEdit_->setText(name);
    startButton_->setEnabled(!name.isEmpty());
    UpdateMonthState();
}

void SelectionPanel::YearChanged() {
    LookUpMonth(0);
    settle_->start();
}

void SelectionPanel::UpdateMonthState() {
    if (!LookUpMonth(kStepBudget))
        IndexSelectedYear();
}

bool SelectionPanel::LookUpMonth(std::uint64_t budget) {
    std::optional<bool> stored = false;
    const QString year = Year();
    const QString id = ID();
    // Without an employee nothing is stored; a look would read the whole year.
    if (!year.isEmpty() && !id.isEmpty()) {
        Guarded(this, [&] {
            stored = IsMonthStoredWithin(files_, S(id), year.toInt(), Month(), budget);
        });
    }
    // Not known yet: shown as not stored until the year's index is read.
    monthStored_ = stored.value_or(false);
    deleteButton_->setEnabled(monthStored_ && !readOnly_);
    return stored.has_value();
}

bool SelectionPanel::TakeTypedYear() {
    const std::optional<int> year = TypedWorkYear(S(yearBox_->currentText().trimmed()));
    if (!year) {
        // Not taken over: the box shows the year in force again, so it never
        // shows a year other than the one 開始 would open.
        const bool typed = yearBox_->currentText() != Year();
        yearBox_->setEditText(Year());
        return !typed;
    }
    const QString text = QString::number(*year);
    int index = yearBox_->findText(text);
    if (index < 0) {
        // The list stays sorted; four-digit years sort as texts.
        index = 0;
        while (index < yearBox_->count() && yearBox_->itemText(index) < text)
            ++index;
        const QSignalBlocker blocker(yearBox_);
        yearBox_->insertItem(index, text);
    }
    yearBox_->setCurrentIndex(index);
    yearBox_->setEditText(text);
    YearChanged();
    return true;
}

void SelectionPanel::IndexYearsWhenIdle() {
    indexWhenIdle_ = true;
    UpdateMonthState();
}

bool SelectionPanel::Indexing() const {
    return indexer_->Busy() || settle_->isActive();
}

void SelectionPanel::IndexSelectedYear() {
    if (!indexWhenIdle_)
        return;
    const QString year = Year();
    bool indexed = true;
    if (!year.isEmpty())
        Guarded(this, [&] { indexed = IsYearIndexed(files_, year.toInt()); });
    if (!indexed)
        indexer_->Request(year.toInt());
}

// --- the indicator -------------------------------------------------------------

void SelectionPanel::ShowIcon(bool stored) {
    indicator_->setPixmap(NamedIcon(stored ? QStringLiteral("2_ICON") : QStringLiteral("1_ICON")));
}

void SelectionPanel::Blink() {
    if (!monthStored_ && blink_ != 2) {
        indicator_->setToolTip(kNoDataHint);
        return;
    }
    ShowIcon(blink_ != 2 && monthStored_);
    blink_ = 3 - blink_;
    indicator_->setToolTip(kDataHint);
}

// --- 削除 ------------------------------------------------------------------------

void SelectionPanel::DeleteMonth() {
    if (!monthStored_)
        return;
    const QString id = ID();
    const QString year = Year();
    const QString question = QStringLiteral("従業員番号 ") + id + QStringLiteral(" の ") + year +
                             QStringLiteral(" 年 ") + MonthItem() +
                             QStringLiteral(" のデータを削除しますか？");
    if (!Messages::Confirm(this, question))
        return;
    // The month's entry window would go on showing the times as stored: it
    // closes first, asking about its unsaved edits as it always does. A window
    // that stays open (its save failed) keeps the month.
    if (closeMonthWindows_ && !closeMonthWindows_(S(id), year.toInt(), Month()))
        return;
    Guarded(this, [&] {
        MessageOperator op(this);
        PurgeMonthRecords(files_, S(id), year.toInt(), Month(), op);
    });
    UpdateMonthState();
    FillYearList();
}

// --- events ----------------------------------------------------------------------

bool SelectionPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == yearBox_ || watched == yearBox_->lineEdit()) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                TakeTypedYear();
                return true;  // consumed
            }
        } else if (event->type() == QEvent::FocusOut) {
            TakeTypedYear();
        }
    }
    return QWidget::eventFilter(watched, event);
}

// 削除 keeps 2 pixels from the right edge, 開始 just left of it.
void SelectionPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    deleteButton_->move(width() - 2 - deleteButton_->width(), 2);
    startButton_->move(deleteButton_->x() - startButton_->width(), 2);
}

}  // namespace pb
