#include "gui/employees/ViewRegistData.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QHash>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QPainter>
#include <QRadioButton>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>
#include <vector>

#include "core/common/Routines.h"
#include "core/store/EmployeeFiles.h"
#include "core/store/WorkDataFiles.h"
#include "gui/controls/Pbutton.h"
#include "gui/shared/ChildActivation.h"
#include "gui/shared/Colors.h"
#include "gui/shared/Guard.h"
#include "gui/shared/Images.h"
#include "gui/shared/MessageOperator.h"
#include "gui/shared/Messages.h"
#include "gui/shared/Naming.h"
#include "gui/shared/PanelButtons.h"
#include "gui/shared/Text.h"

namespace pb {

namespace {

constexpr int kPanelHeight = 44;
constexpr int kRowHeight = 24;
constexpr int kEmployeeColWidth = 145;
constexpr int kDailyLabelWidth = 140;
constexpr int kHourlyLabelWidth = 125;

const QStringList& DailyLabels() {
    static const QStringList labels = {
        QStringLiteral(" 従業員名"),
        QStringLiteral(" 従業員番号"),
        QStringLiteral(" 勤務体系"),
        QStringLiteral(" 締め日"),
        QStringLiteral(" 半休曜日"),
        QStringLiteral(" 休日曜日"),
        QStringLiteral(" 休日曜日"),
        QStringLiteral(" 休日曜日"),
        QStringLiteral(" 早出残業時給"),
        QStringLiteral(" \u3000 〃\u3000(休日)"),
        QStringLiteral(" 普通残業時給"),
        QStringLiteral(" \u3000 〃\u3000(休日)"),
        QStringLiteral(" 早朝残業時給"),
        QStringLiteral(" \u3000 〃\u3000(休日)"),
        QStringLiteral(" 深夜残業時給"),
        QStringLiteral(" \u3000 〃\u3000(休日)"),
        QStringLiteral(" 規定勤務開始時刻"),
        QStringLiteral(" 規定勤務終了時刻"),
        QStringLiteral(" \u3000 〃\u3000 (半休日)"),
        QStringLiteral(" 深夜残業区分開始時刻"),
        QStringLiteral(" 早朝残業区分終了時刻"),
    };
    return labels;
}

const QStringList& HourlyLabels() {
    static const QStringList labels = [] {
        QStringList list = {QStringLiteral(" 従業員名"), QStringLiteral(" 従業員番号"),
                            QStringLiteral(" 勤務体系"), QStringLiteral(" 締め日"),
                            QStringLiteral(" 標準時給")};
        const QString bands[] = {QStringLiteral("区分１"), QStringLiteral("区分２"),
                                 QStringLiteral("区分３")};
        for (const QString& band : bands)
            for (int weekday = 1; weekday <= 7; ++weekday)
                list << QStringLiteral(" 時給 ") + band + QLatin1Char(' ') +
                            Q(WeekdayText(weekday));
        for (const QString& band : bands)
            list << QLatin1Char(' ') + band + QStringLiteral(" 開始時刻");
        return list;
    }();
    return labels;
}

QString ClosingDayText(int day) {
    return day == 0 ? QStringLiteral("月末") : QString::number(day);
}

}  // namespace

// The texts of one refresh, each made once: the employees share most of their
// rates and times, and their cells then share one string as well.
class TViewRD::CellTexts {
  public:
    const QString& Yen(std::int32_t amount) {
        return Memo(yen_, amount, [amount] { return Q(FormatYen(amount)); });
    }
    const QString& Weekday(std::int32_t weekday) {
        return Memo(weekdays_, weekday, [weekday] { return Q(WeekdayText(weekday)); });
    }
    const QString& Time(double time) {
        return Memo(times_, time, [time] { return Q(TimeToText(time)); });
    }
    const QString& Steps(std::int32_t steps) {
        return Memo(steps_, steps, [steps] { return Q(StepsToText(steps)); });
    }

  private:
    template <typename Key, typename Make>
    static const QString& Memo(QHash<Key, QString>& memo, Key key, Make make) {
        auto found = memo.find(key);
        if (found == memo.end())
            found = memo.insert(key, make());
        return *found;
    }

    QHash<std::int32_t, QString> yen_;
    QHash<std::int32_t, QString> weekdays_;
    QHash<double, QString> times_;
    QHash<std::int32_t, QString> steps_;
};

// ---------------------------------------------------------------------------
// Creation

TViewRD::TViewRD(const DataFiles& files, const Settings& settings, QWidget* parent)
    : QWidget(parent), files_(files), settings_(&settings) {
    Name(this, QStringLiteral("ViewRD"));
    setWindowTitle(QStringLiteral("登録済み従業員データ"));
    setWindowIcon(ApplicationIcon());
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPixelSize(12);
    setFont(font);
    BuildLayout();
    connect(new ChildActivation(this), &ChildActivation::activated, this, &TViewRD::FormActivate);
}

TViewRD::~TViewRD() {
    if (reader_ != nullptr) {
        reader_->wait();
        delete reader_;
    }
}

void TViewRD::BuildLayout() {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    Panel1 = new QFrame(this);
    Name(Panel1, QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Sunken);
    Panel1->setFixedHeight(kPanelHeight);
    Panel1->installEventFilter(this);

    RadioButton1 = new QRadioButton(QStringLiteral("日給制"), Panel1);
    Name(RadioButton1, QStringLiteral("RadioButton1"));
    RadioButton1->setGeometry(10, 12, 70, 20);
    RadioButton2 = new QRadioButton(QStringLiteral("時給制"), Panel1);
    Name(RadioButton2, QStringLiteral("RadioButton2"));
    RadioButton2->setGeometry(84, 12, 70, 20);

    idBox_ = new QComboBox(Panel1);
    Name(idBox_, QStringLiteral("ComboBox1"));
    // Restricted to its list: a typed ID that is no item would leave the
    // delete question without an employee, or with another one than shown.
    idBox_->setEditable(false);
    idBox_->setMaxVisibleItems(3);
    idBox_->setGeometry(162, 11, 45, 22);
    idBox_->setEnabled(false);
    NameAfter(idBox_, {QStringLiteral("従業員番号")});

    deleteButton_ =
        MakePanelButton(Panel1, QStringLiteral("PanelButton1"), QStringLiteral("削除"),
                        Glyph(QStringLiteral("Delete")), QStringLiteral("従業員データの削除"));
    deleteButton_->resize(40, 40);
    deleteButton_->setEnabled(false);

    StringGrid1 = new TStringGrid(this);
    Name(StringGrid1, QStringLiteral("StringGrid1"));
    StringGrid1->SetFixedRows(1);
    StringGrid1->SetFixedCols(1);
    StringGrid1->SetDefaultRowHeight(kRowHeight);
    StringGrid1->setShowGrid(true);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->OnDrawCell = [this](QObject*, QPainter* canvas, int col, int row,
                                     const QRect& rect, TGridDrawState state) {
        StringGrid1DrawCell(canvas, col, row, rect, state);
    };
    StringGrid1->hide();
    StringGrid1->setEnabled(false);

    column->addWidget(Panel1, 0);
    column->addWidget(StringGrid1, 1);
    column->addStretch(0);

    connect(RadioButton1, &QRadioButton::clicked, this, &TViewRD::RadioButton1Click);
    connect(RadioButton2, &QRadioButton::clicked, this, &TViewRD::RadioButton1Click);
    connect(idBox_, &QComboBox::currentIndexChanged, this, &TViewRD::IdChanged);
    connect(StringGrid1, &QTableWidget::cellClicked, this, &TViewRD::StringGrid1Click);
    connect(StringGrid1, &QTableWidget::currentCellChanged, this, [this] {
        StringGrid1SelectCell();
        // The keyboard moves the current column as well as the mouse does.
        StringGrid1Click();
    });
    connect(deleteButton_, &TPanelButton::clicked, this, &TViewRD::DeleteClicked);
}

// ---------------------------------------------------------------------------
// Window events

void TViewRD::FormActivate() {
    emit mainWidthWanted(kMainWidth);
    RefreshView();
}

void TViewRD::FormResize() {
    deleteButton_->move(Panel1->width() - deleteButton_->width() - 2,
                        (Panel1->height() - deleteButton_->height()) / 2);
}

void TViewRD::FormClose() {
    // The child window frees the viewer with itself.
}

bool TViewRD::event(QEvent* event) {
    // Ctrl+F4 closes the child window the viewer lives in, as its close box
    // does. Taken as a key, not a shortcut: the child window's own menu holds
    // the same key, which would make a shortcut ambiguous and dead.
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_F4)) {
            event->accept();
            if (event->type() == QEvent::KeyPress) {
                if (auto* child = qobject_cast<QMdiSubWindow*>(parentWidget()))
                    child->close();
                else
                    close();
            }
            return true;
        }
    }
    return QWidget::event(event);
}

void TViewRD::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

bool TViewRD::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Panel1 && event->type() == QEvent::Resize)
        FormResize();
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Loading

namespace {

// Files of up to this many bytes are read at once, larger ones beside the window.
constexpr std::uint64_t kReadAtOnce = 64 * 1024;

}  // namespace

std::optional<PayScheme> TViewRD::ChosenScheme() const {
    if (RadioButton1->isChecked())
        return PayScheme::Daily;
    if (RadioButton2->isChecked())
        return PayScheme::Hourly;
    return std::nullopt;
}

std::vector<TViewRD::Column> TViewRD::ReadColumns(PayScheme scheme) const {
    std::vector<SchemeEmployee> employees = ListSchemeEmployees(files_, scheme);
    std::stable_sort(employees.begin(), employees.end(),
                     [](const SchemeEmployee& a, const SchemeEmployee& b) { return a.ID < b.ID; });
    std::vector<Column> columns;
    columns.reserve(employees.size());
    for (SchemeEmployee& e : employees)
        columns.push_back({Q(e.ID), Q(e.Name), std::move(e.Daily), std::move(e.Time)});
    return columns;
}

void TViewRD::RefreshView() {
    const std::optional<PayScheme> chosen = ChosenScheme();
    if (!chosen)
        return;
    const PayScheme scheme = *chosen;
    if (reader_ != nullptr) {
        refreshAgain_ = true;
        return;
    }
    std::uint64_t size = 0;
    if (!Guarded(this, [&] {
            for (const std::string* path :
                 {&files_.NameFile,
                  scheme == PayScheme::Daily ? &files_.DailyWagesFile : &files_.TimeWagesFile})
                size += files_.fs->Size(*path).value_or(0);
        }))
        return;
    if (size > kReadAtOnce) {
        ReadBesideWindow(scheme);
        return;
    }
    std::vector<Column> columns;
    // What is on screen stays as it was when the files cannot be read.
    if (!Guarded(this, [&] { columns = ReadColumns(scheme); }))
        return;
    ShowColumns(scheme, columns);
}

void TViewRD::ReadBesideWindow(PayScheme scheme) {
    readScheme_ = scheme;
    read_.clear();
    readFailure_ = nullptr;
    refreshAgain_ = false;
    reader_ = QThread::create([this, scheme] {
        try {
            read_ = ReadColumns(scheme);
        } catch (...) {
            readFailure_ = std::current_exception();
        }
    });
    connect(reader_, &QThread::finished, this, &TViewRD::ReadingDone);
    reader_->start();
}

void TViewRD::ReadingDone() {
    reader_->wait();
    delete reader_;
    reader_ = nullptr;
    const std::vector<Column> columns = std::move(read_);
    read_.clear();
    if (refreshAgain_ || readScheme_ != ChosenScheme()) {
        RefreshView();
        return;
    }
    if (readFailure_) {
        const std::exception_ptr failure = std::exchange(readFailure_, nullptr);
        Guarded(this, [&] { std::rethrow_exception(failure); });
        return;
    }
    ShowColumns(readScheme_, columns);
}

void TViewRD::ShowColumns(PayScheme scheme, const std::vector<Column>& columns) {
    const QSignalBlocker comboSignals(idBox_);
    const QSignalBlocker gridSignals(StringGrid1);
    const int row = StringGrid1->currentRow();
    // The rows are the scheme's; the employees' columns are written over what
    // is shown, so an activation that finds the files as they were changes no
    // cell, and one that finds a change rewrites only the cells it touches.
    if (shownScheme_ != scheme) {
        ResetGrid();
        shownScheme_ = scheme;
    }
    QStringList ids;
    ids.reserve(static_cast<qsizetype>(columns.size()));
    for (const Column& column : columns)
        ids << column.id;
    idBox_->clear();
    idBox_->addItems(ids);
    idBox_->setCurrentIndex(0);

    const bool any = !columns.empty();
    StringGrid1->SetColCount(static_cast<int>(columns.size()) + 1);
    if (any) {
        StringGrid1->show();
        StringGrid1->SetFixedCols(1);
        StringGrid1->setEnabled(true);
    } else {
        idBox_->setCurrentIndex(-1);
        StringGrid1->hide();
        StringGrid1->setEnabled(false);
    }
    idBox_->setEnabled(StringGrid1->isEnabled());
    deleteButton_->setEnabled(StringGrid1->isEnabled());

    CellTexts made;
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        StringGrid1->SetColWidths(i + 1, kEmployeeColWidth);
        QStringList texts = scheme == PayScheme::Daily ? DailyColumnTexts(columns[i], made)
                                                       : HourlyColumnTexts(columns[i], made);
        // An employee without conditions in force shows its name and ID only.
        while (texts.size() < StringGrid1->RowCount())
            texts << QString();
        StringGrid1->SetCols(i + 1, texts);
    }
    if (any) {
        // The first employee is the chosen one; the row stays where it was.
        StringGrid1->setCurrentCell(row >= 1 && row < StringGrid1->RowCount() ? row : 1, 1);
    }
    StringGrid1->viewport()->update();
}

void TViewRD::ResetGrid() {
    StringGrid1->SetColCount(1);
    StringGrid1->clearContents();
    if (RadioButton1->isChecked())
        SetDailyLabels();
    else
        SetHourlyLabels();
}

void TViewRD::SetLabels(int width, const QStringList& labels) {
    StringGrid1->SetDefaultColWidth(width);
    StringGrid1->SetRowCount(static_cast<int>(labels.size()));
    StringGrid1->SetDefaultRowHeight(kRowHeight);
    StringGrid1->SetCols(0, labels);
}

void TViewRD::SetDailyLabels() {
    SetLabels(kDailyLabelWidth, DailyLabels());
}

void TViewRD::SetHourlyLabels() {
    SetLabels(kHourlyLabelWidth, HourlyLabels());
}

QStringList TViewRD::DailyColumnTexts(const Column& column, CellTexts& made) {
    QStringList texts = {column.name, column.id};
    if (!column.daily)
        return texts;
    const DailyWagesRecord& r = *column.daily;
    texts << QString::number(r.WorkType) << ClosingDayText(r.ClosingDay)
          << made.Weekday(r.HalfHoliday) << made.Weekday(r.Holiday1) << made.Weekday(r.Holiday2)
          << made.Weekday(r.Holiday3);
    for (std::int32_t pay :
         {r.WeekdayMorningPay, r.HolidayMorningPay, r.WeekdayOverPay, r.HolidayOverPay,
          r.WeekdayEarMornPay, r.HolidayEarMornPay, r.WeekdayNightPay, r.HolidayNightPay})
        texts << made.Yen(pay);
    for (double time : {r.TimeToStartWork, r.TimeToFinishWork, r.TimeToFinishWorkHH,
                        r.TimeToStartNight, r.TimeToFinishMorning})
        texts << made.Time(time);
    return texts;
}

QStringList TViewRD::HourlyColumnTexts(const Column& column, CellTexts& made) {
    QStringList texts = {column.name, column.id};
    if (!column.hourly)
        return texts;
    const TimeWagesRecord& r = *column.hourly;
    texts << QString::number(r.WorkType) << ClosingDayText(r.ClosingDay) << made.Yen(r.TimePay);
    for (const TimeWagesRecord::WeekPays* pays : {&r.Band1Pays, &r.Band2Pays, &r.Band3Pays})
        for (std::int32_t pay : *pays)
            texts << made.Yen(pay);
    for (std::int32_t boundary : {r.ChargeDivideTime1, r.ChargeDivideTime2, r.ChargeDivideTime3})
        texts << made.Steps(boundary);
    return texts;
}

// ---------------------------------------------------------------------------
// Choosing

void TViewRD::RadioButton1Click() {
    RefreshView();
}

void TViewRD::IdChanged() {
    const int index = idBox_->currentIndex();
    if (index < 0 || index + 1 >= StringGrid1->ColCount())
        return;
    const int row = std::max(StringGrid1->currentRow(), StringGrid1->FixedRows());
    StringGrid1->setCurrentCell(row, index + 1);
}

void TViewRD::StringGrid1Click() {
    const int col = StringGrid1->currentColumn();
    if (col < StringGrid1->FixedCols() || col - 1 >= idBox_->count())
        return;
    if (idBox_->currentIndex() != col - 1)
        idBox_->setCurrentIndex(col - 1);
}

void TViewRD::StringGrid1SelectCell() {
    // The name of the current column is drawn apart: repaint them all.
    StringGrid1->viewport()->update();
}

void TViewRD::StringGrid1DrawCell(QPainter* canvas, int col, int row, const QRect& rect,
                                  TGridDrawState state) const {
    const QPalette& palette = StringGrid1->palette();
    QFont font = StringGrid1->font();
    QColor ink = palette.color(QPalette::Text);
    QColor background = palette.color(QPalette::Base);
    if (state.Fixed) {
        background = palette.color(QPalette::Button);
        ink = palette.color(QPalette::ButtonText);
    }
    if (row == 0 && col >= StringGrid1->FixedCols() && col == StringGrid1->currentColumn()) {
        font.setBold(true);
        ink = FromColorRef(settings_->FontColor.ValidColor);
    }
    canvas->fillRect(rect, background);

    const QString text = StringGrid1->Cells(col, row);
    const QFontMetrics metrics(font);
    const int x = row == 0 || col == 0 ? rect.left() + 2
                                       : rect.right() + 1 - metrics.horizontalAdvance(text) - 8;
    const int y = rect.top() + (rect.height() - metrics.height()) / 2;
    canvas->setFont(font);
    canvas->setPen(ink);
    canvas->drawText(QPoint(x, y + metrics.ascent()), text);
}

// ---------------------------------------------------------------------------
// Deleting

void TViewRD::DeleteClicked() {
    const int index = idBox_->currentIndex();
    if (index < 0)
        return;
    const QString id = idBox_->itemText(index);
    int months = 0;
    if (!Guarded(this, [&] { months = CountStoredMonths(files_, S(id)); }))
        return;
    // Nothing of it can be brought back: Enter answers no.
    if (!Messages::Confirm(this, Messages::EmployeeDeletionQuestion(id, months), Messages::No))
        return;
    bool deleted = false;
    Guarded(this, [&] {
        MessageOperator op(this);
        deleted = DeleteEmployee(files_, S(id), op);
    });
    RefreshView();
    if (deleted)
        emit EmployeesChanged();
}

}  // namespace pb
