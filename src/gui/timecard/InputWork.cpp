#include "gui/timecard/InputWork.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QStyleOptionViewItem>
#include <QTimer>
#include <QToolTip>
#include <QUndoStack>
#include <QVBoxLayout>
#include <exception>
#include <functional>
#include <optional>
#include <utility>

#include "core/common/Holidays.h"
#include "core/common/Routines.h"
#include "core/store/WorkDataFiles.h"
#include "core/timecard/FigureTrace.h"
#include "core/timecard/MonthCalc.h"
#include "core/timecard/SummaryGrid.h"
#include "core/timecard/WorkPattern.h"
#include "gui/controls/Pbutton.h"
#include "gui/print/PrintDailyW.h"
#include "gui/print/SinStringGrid.h"
#include "gui/print/StringGridS.h"
#include "gui/shared/ChildActivation.h"
#include "gui/shared/Colors.h"
#include "gui/shared/Guard.h"
#include "gui/shared/Images.h"
#include "gui/shared/MessageOperator.h"
#include "gui/shared/Messages.h"
#include "gui/shared/Naming.h"
#include "gui/shared/PanelButtons.h"
#include "gui/shared/Text.h"
#include "gui/timecard/TimeCellDelegate.h"

namespace pb {

namespace {

constexpr int kRowHeight = 24;
// The rows shrink down to this to show a whole month on a short screen.
constexpr int kLeastRowHeight = 20;
constexpr int kButtonPanelWidth = 110;
constexpr int kSavedTextMs = 5000;

// A change of the typed cells, kept as the cells before and after it; the
// window puts either back.
class CellsChange : public QUndoCommand {
  public:
    using Restore = std::function<void(const EntrySnapshot&)>;
    CellsChange(const QString& what, EntryChange change, Restore restore)
        : QUndoCommand(what), change_(std::move(change)), restore_(std::move(restore)) {}

    void undo() override { restore_(change_.before); }
    void redo() override {
        // The first redo comes as the change is recorded: the cells hold it already.
        if (done_)
            restore_(change_.after);
        done_ = true;
    }

  private:
    EntryChange change_;
    Restore restore_;
    bool done_ = false;
};

}  // namespace

// A cell of the entry grid. A figure explains itself in its hint, which is
// made when it is asked for: kept as texts, the hints of a month would hold
// some 50 KB in every open window.
class TInputW::FigureCell : public QTableWidgetItem {
  public:
    explicit FigureCell(const TInputW* window) : window_(window) {}
    QTableWidgetItem* clone() const override { return new FigureCell(*this); }
    QVariant data(int role) const override {
        if (role == Qt::ToolTipRole) {
            if (std::optional<QString> hint = window_->FigureHint(column(), row()))
                return *hint;
        }
        return QTableWidgetItem::data(role);
    }

  private:
    const TInputW* window_;
};

// ---------------------------------------------------------------------------
// Creation

TInputW::TInputW(const EntrySelection& selection, const DataFiles& files, Settings& settings,
                 QWidget* parent)
    : TInputW(Open(selection, files, settings), files, settings, parent) {}

TInputW::TInputW(OpenedMonth month, const DataFiles& files, Settings& settings, QWidget* parent)
    : QWidget(parent), files_(files), settings_(&settings), entry_(std::move(month), files) {
    Name(this, QStringLiteral("InputW"));
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPixelSize(12);
    setFont(font);
    BuildLayout();
    FormCreate();
    connect(new ChildActivation(this), &ChildActivation::activated, this, &TInputW::FormActivate);
}

TInputW::~TInputW() = default;

QString TInputW::MakeEntryKey(int payScheme, const std::string& id, int year, int month) {
    return QString::number(payScheme) + Q(id) + QString::number(year) + Q(PadNumber(month, 2));
}

OpenedMonth TInputW::Open(const EntrySelection& selection, const DataFiles& files,
                          const Settings& settings) {
    // A month gone since the selection panel looked opens as a new month of
    // the employee's scheme. What the core refuses (no wage record in force, a
    // damaged file) never opens, as the exporter refuses it too.
    OpenedMonth month =
        OpenMonth(files, settings.Calc_Set, selection.id, selection.year, selection.month, false);
    if (month.status != OpenMonthStatus::Opened)
        throw MonthRefused(RefusalText(month, files));
    return month;
}

void TInputW::FormCreate() {
    const OpenedMonth& opened = Opened();
    const MonthInput& input = opened.input;
    setToolTip(MakeEntryKey(PayScheme(), opened.id, opened.year, opened.month));

    lateClockIn_.clear();
    if (PayScheme() == 1) {
        InputGrid->setColumnCount(kDailyColumnCount);
    } else {
        InputGrid->setColumnCount(kHourlyColumnCount);
        HolidayCaptionLabel->hide();
        HolidayWorkDaysLabel->hide();
        HolidayUnitLabel->hide();
    }

    weekdays_.clear();
    dayLabels_.clear();
    nationalHolidays_.clear();
    InputGrid->setRowCount(static_cast<int>(input.period.size()) + 1);
    for (std::size_t i = 0; i < input.period.size(); ++i) {
        weekdays_.push_back(input.period[i].weekday);
        dayLabels_ << Q(DayLabel(input.period[i]));
        const int row = static_cast<int>(i) + 1;
        SetInputCell(0, row, dayLabels_.back());
        // A national holiday is marked and named; it is paid as the day of the
        // week it falls on.
        nationalHolidays_.push_back(Q(std::string(NationalHolidayName(
            input.period[i].year, input.period[i].month, input.period[i].day))));
        InputGrid->item(row, 0)->setToolTip(nationalHolidays_.back());
    }

    // The rates and band times of the summary come with a calculation, which
    // the entry made as it opened; the figures of a stored month are shown.
    DataViewGrid->setColumnCount(InputGrid->columnCount());
    SetupColumns();
    Panel3Resize();
    if (opened.stored)
        LoadCells();

    const EntryCell first = entry_.FirstCell();
    col_ = first.col;
    row_ = first.row;
    SetCurrentCell(col_, row_);

    SetInputCell(0, 0, Q(PadNumber(WorkType(), 2)));
    setWindowTitle(QStringLiteral("  ") + Q(opened.name) + QStringLiteral("  ") +
                   QString::number(opened.year) + QStringLiteral("年度　") +
                   QString::number(opened.month) + QStringLiteral("月分"));
    // Screen readers name the two tables after the month they belong to.
    const QString month = windowTitle().simplified();
    InputGrid->setAccessibleName(QStringLiteral("勤務時間 ") + month);
    DataViewGrid->setAccessibleName(QStringLiteral("集計 ") + month);
    InputGridClick();
}

void TInputW::BuildLayout() {
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    Panel3 = new QFrame(this);
    Name(Panel3, QStringLiteral("Panel3"));
    auto* gridsLayout = new QVBoxLayout(Panel3);
    gridsLayout->setContentsMargins(0, 0, 0, 0);
    gridsLayout->setSpacing(0);

    InputGrid = new TStringGridS(Panel3);
    Name(InputGrid, QStringLiteral("InputGrid"));
    InputGrid->setItemPrototype(new FigureCell(this));
    InputGrid->SetImeMode(imDisable);
    InputGrid->SetDefaultRowHeight(kRowHeight);
    InputGrid->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                               QAbstractItemView::EditKeyPressed);
    // A pale selection keeps the coloured texts of the current cell readable.
    QPalette palette = InputGrid->palette();
    palette.setColor(QPalette::Highlight, QColor(0xcc, 0xe8, 0xff));
    InputGrid->setPalette(palette);
    InputGrid->OnDrawCell = [this](QObject*, QPainter* canvas, int col, int row, const QRect& rect,
                                   TGridDrawState state) {
        InputGridDrawCell(canvas, col, row, rect, state);
    };
    inputDelegate_ = new TimeCellDelegate(InputGrid->itemDelegate(), InputGrid);
    inputDelegate_->SetMaskHook([this](const QModelIndex& index) {
        return InputGridGetEditMask(index.column(), index.row());
    });
    inputDelegate_->SetEditHook([this](const QModelIndex& index, const QString& text) {
        InputGridSetEditText(index.column(), index.row(), text);
    });
    inputDelegate_->SetEnterHook([this] { MoveToNextCell(); });
    inputDelegate_->SetEscapeHook([this] { InputGridEscape(); });
    InputGrid->setItemDelegate(inputDelegate_);
    // Only the clock columns the work pattern uses take typing, however the
    // editor is asked for; the operator's moves are checked before they happen.
    InputGrid->OnCanEditCell = [this](int col, int row) { return entry_.CanType({col, row}); };
    InputGrid->OnSelectCell = [this](int col, int row) { return InputGridSelectCell(col, row); };
    InputGrid->installEventFilter(this);
    // The buttons take no focus: the grid's menu (menu key or right click)
    // reaches all six from the keyboard.
    InputGrid->viewport()->installEventFilter(this);
    connect(InputGrid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TInputW::OnCurrentCellChanged);
    connect(InputGrid->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            &TInputW::InputGridTopLeftChanged);
    gridsLayout->addWidget(InputGrid, 1);

    DataViewGrid = new TSinStringGrid(Panel3);
    Name(DataViewGrid, QStringLiteral("DataViewGrid"));
    DataViewGrid->SetFixedRows(0);
    DataViewGrid->SetFixedCols(1);
    DataViewGrid->SetDefaultRowHeight(kRowHeight);
    DataViewGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DataViewGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Figures only: nothing to select, and the focus goes back to the entry grid.
    DataViewGrid->setSelectionMode(QAbstractItemView::NoSelection);
    DataViewGrid->clearSelection();
    DataViewGrid->setCurrentCell(-1, -1);
    DataViewGrid->setFocusPolicy(Qt::ClickFocus);
    DataViewGrid->OnDrawCell = [this](QObject*, QPainter* canvas, int col, int row,
                                      const QRect& rect, TGridDrawState state) {
        DataViewGridbDrawCell(canvas, col, row, rect, state);
    };
    DataViewGrid->installEventFilter(this);
    gridsLayout->addWidget(DataViewGrid, 0);
    outer->addWidget(Panel3, 1);

    auto* panel = new QFrame(this);
    Name(panel, QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setFixedWidth(kButtonPanelWidth);
    BuildButtonPanel(panel);
    outer->addWidget(panel, 0);

    // Undo and redo reach back to the opening of the window.
    undo_ = new QUndoStack(this);
    auto action = [this](const char* name, const char* caption, QList<QKeySequence> keys,
                         void (TInputW::*slot)()) {
        auto* item = new QAction(QString::fromUtf8(caption), this);
        item->setObjectName(QString::fromLatin1(name));
        item->setShortcuts(keys);
        item->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(item, &QAction::triggered, this, slot);
        addAction(item);
        return item;
    };
    undoAction_ =
        action("UndoAction", "元に戻す", {QKeySequence(Qt::CTRL | Qt::Key_Z)}, &TInputW::UndoClick);
    redoAction_ =
        action("RedoAction", "やり直し",
               {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
               &TInputW::RedoClick);
}

void TInputW::BuildButtonPanel(QFrame* panel) {
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(6, 8, 6, 8);
    layout->setSpacing(6);

    auto* buttons = new QGridLayout;
    buttons->setSpacing(6);
    auto make = [this, panel](const char* name, const char* caption, const char* glyph,
                              const char* hint) {
        TPanelButton* button =
            MakePanelButton(panel, QString::fromLatin1(name), QString::fromUtf8(caption),
                            Glyph(QString::fromLatin1(glyph)), QString::fromUtf8(hint));
        button->setFixedSize(40, 40);
        return button;
    };
    CalcPB = make("CalcPB", "計算", "Calc", nullptr);
    PrintPB = make("PrintPB", "印刷", "Print", nullptr);
    SavePB = make("SavePB", "記録", "Save", nullptr);
    // The three commands of every month have keys, named in their hints.
    for (auto [button, key] : {std::pair{CalcPB, QKeySequence(Qt::Key_F9)},
                               std::pair{SavePB, QKeySequence(Qt::CTRL | Qt::Key_S)},
                               std::pair{PrintPB, QKeySequence(Qt::CTRL | Qt::Key_P)}}) {
        button->setShortcut(key);
        button->setHint(button->caption() + QStringLiteral(" (") +
                        key.toString(QKeySequence::NativeText) + QLatin1Char(')'));
    }
    ClosePB = make("ClosePB", "終了", "Exit", nullptr);
    PanelButton9 = make("PanelButton9", "消去", "Erase", "全入力データの消去");
    PanelButton1 = make("PanelButton1", "戻す", "Restore", "編集前にデータを戻す");
    buttons->addWidget(CalcPB, 0, 0);
    buttons->addWidget(PrintPB, 0, 1);
    buttons->addWidget(SavePB, 1, 0);
    buttons->addWidget(ClosePB, 1, 1);
    buttons->addWidget(PanelButton9, 2, 0);
    buttons->addWidget(PanelButton1, 2, 1);
    layout->addLayout(buttons);
    connect(CalcPB, &TPanelButton::clicked, this, &TInputW::CalcPBClick);
    connect(PrintPB, &TPanelButton::clicked, this, &TInputW::PrintPBClick);
    connect(SavePB, &TPanelButton::clicked, this, &TInputW::SavePBClick);
    connect(ClosePB, &TPanelButton::clicked, this, &TInputW::ClosePBClick);
    connect(PanelButton9, &TPanelButton::clicked, this, &TInputW::PanelButton9Click);
    connect(PanelButton1, &TPanelButton::clicked, this, &TInputW::PanelButton1Click);

    auto* totals = new QFrame(panel);
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
    TotalOverMinutesLabel = label("TotalOverMinutesLabel", QString(), Qt::AlignRight);
    grid->addWidget(TotalOverMinutesLabel, 1, 0, 1, 2);
    grid->addWidget(label("OverPayCaption", QStringLiteral("総残業賃金"), Qt::AlignLeft), 2, 0, 1,
                    2);
    TotalOverPayLabel = label("TotalOverPayLabel", QString(), Qt::AlignRight);
    grid->addWidget(TotalOverPayLabel, 3, 0, 1, 2);
    grid->addWidget(label("WorkDaysCaption", QStringLiteral("総勤務日数"), Qt::AlignLeft), 4, 0, 1,
                    2);
    WorkDaysLabel = label("WorkDaysLabel", QString(), Qt::AlignRight);
    grid->addWidget(WorkDaysLabel, 5, 0);
    grid->addWidget(label("WorkDaysUnit", QStringLiteral("日"), Qt::AlignLeft), 5, 1);
    HolidayCaptionLabel = label("HolidayCaptionLabel", QStringLiteral("休日勤務"), Qt::AlignLeft);
    grid->addWidget(HolidayCaptionLabel, 6, 0, 1, 2);
    HolidayWorkDaysLabel = label("HolidayWorkDaysLabel", QString(), Qt::AlignRight);
    grid->addWidget(HolidayWorkDaysLabel, 7, 0);
    HolidayUnitLabel = label("HolidayUnitLabel", QStringLiteral("日"), Qt::AlignLeft);
    grid->addWidget(HolidayUnitLabel, 7, 1);
    grid->setColumnStretch(0, 1);
    layout->addWidget(totals);

    // 記録 says for a while that the month is stored, with no box to close.
    SavedLabel = new QLabel(panel);
    Name(SavedLabel, QStringLiteral("SavedLabel"));
    SavedLabel->setAlignment(Qt::AlignCenter);
    layout->addWidget(SavedLabel);
    NotesLabel = new QLabel(panel);
    NotesLabel->setObjectName(QStringLiteral("NotesLabel"));
    NotesLabel->setAccessibleDescription(NotesLabel->objectName());
    NotesLabel->setAlignment(Qt::AlignCenter);
    NotesLabel->setStyleSheet(QStringLiteral("color: #c00000;"));
    layout->addWidget(NotesLabel);
    savedTimer_ = new QTimer(this);
    savedTimer_->setSingleShot(true);
    savedTimer_->setInterval(kSavedTextMs);
    connect(savedTimer_, &QTimer::timeout, SavedLabel, &QLabel::clear);
    layout->addStretch(1);
    ResetTotals();
}

void TInputW::ResetTotals() {
    TotalOverMinutesLabel->setText(QStringLiteral("00:00"));
    TotalOverPayLabel->setText(Q(FormatYen(0)));
    WorkDaysLabel->setText(QStringLiteral("0"));
    HolidayWorkDaysLabel->setText(QStringLiteral("0"));
}

// ---------------------------------------------------------------------------
// Cells

void TInputW::SetInputCell(int col, int row, const QString& text) {
    InputGrid->SetCells(col, row, text);
}

void TInputW::SetViewCell(int col, int row, const QString& text) {
    DataViewGrid->SetCells(col, row, text);
}

bool TInputW::IsUnused(int col) const {
    return IsColumnUnused(WorkType(), col);
}

int TInputW::WeekdayOfRow(int row) const {
    return row >= 1 && row <= DayRows() ? weekdays_[row - 1] : -1;
}

QColor TInputW::ValidColor() const {
    return FromColorRef(settings_->FontColor.ValidColor);
}

QColor TInputW::InvalidColor() const {
    return FromColorRef(settings_->FontColor.InvalidColor);
}

bool TInputW::HasHolidayLayout() const {
    return PayScheme() == 1 && Daily().Holiday != 0;
}

// ---------------------------------------------------------------------------
// Operations

void TInputW::SetupColumns() {
    const std::vector<std::string> captions = ColumnCaptions(PayScheme(), WorkType());
    for (int c = 1; c < static_cast<int>(captions.size()); ++c)
        SetInputCell(c, 0, Q(captions[c]));

    // The layout, the band times and the rates; the figure rows wait for a
    // calculation.
    const std::vector<DayCells> rows =
        SummaryRows(Opened().input, entry_.Result(), WeekdayOfRow(row_));
    DataViewGrid->setRowCount(static_cast<int>(rows.size()));
    const int rateRows = HasHolidayLayout() ? 3 : 2;
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        SetViewCell(0, r, Q(rows[r][0]));
        if (r >= rateRows)
            continue;
        for (int c = 1; c <= LastColumn(); ++c)
            SetViewCell(c, r, Q(rows[r][c]));
    }
}

void TInputW::LoadCells() {
    entry_.RestoreStored();
    ShowTypedCells();
    Recalculate(false);
}

void TInputW::ShowTypedCells() {
    // Only a cell whose text changed is written: an open editor keeps its place.
    for (int r = 1; r <= DayRows(); ++r)
        for (int c = 1; c <= LastTypedColumn(); ++c)
            SetInputCell(c, r, Q(entry_.Text({c, r})));
}

void TInputW::ShowFigures() {
    // The rules are read at each run: the settings dialog may have changed them.
    entry_.Calculate(settings_->Calc_Set);
    PaintFigures();
}

void TInputW::PaintFigures() {
    const MonthResult& result = entry_.Result();
    // Each figure explains itself in its tool tip, in the core's words.
    const MonthTrace trace = TraceMonth(entry_.ResultInput(), result);
    const int last = LastColumn();
    for (int r = 1; r <= DayRows() && r <= static_cast<int>(result.days.size()); ++r)
        for (int c = LastTypedColumn() + 1; c <= last; ++c)
            SetInputCell(c, r, Q(result.days[r - 1].cells[c]));
    figuresShown_ = true;

    const std::vector<DayCells> rows =
        SummaryRows(Opened().input, entry_.Result(), WeekdayOfRow(row_));
    for (int r = 0; r < static_cast<int>(rows.size()) && r < DataViewGrid->rowCount(); ++r)
        for (int c = 1; c <= last; ++c)
            SetViewCell(c, r, Q(rows[r][c]));
    const int rateRows = HasHolidayLayout() ? 3 : 2;
    for (int c = 1; c <= last; ++c) {
        const QString tip = IsUnused(c) ? QString() : Q(SumTraceText(trace, c));
        for (int r = rateRows; r < DataViewGrid->rowCount(); ++r)
            if (QTableWidgetItem* figure = DataViewGrid->item(r, c))
                figure->setToolTip(tip);
    }
    lateClockIn_.assign(static_cast<std::size_t>(DayRows()), false);
    for (int r = 1; r <= DayRows() && r <= static_cast<int>(trace.days.size()); ++r) {
        const DayTrace& day = trace.days[r - 1];
        lateClockIn_[r - 1] = day.clockInTakenAsEveningBefore && !day.notes.empty();
        // The rule is the first of the day's notes.
        // A changed cell would put its text back into an open editor: only a
        // hint that changes is written.
        const QString hint = lateClockIn_[r - 1] ? Q(day.notes.front()) : QString();
        if (QTableWidgetItem* clockIn = InputGrid->item(r, 1);
            clockIn && clockIn->toolTip() != hint)
            clockIn->setToolTip(hint);
    }
    QStringList marks;
    QStringList texts;
    for (const MonthNote& note : MonthNotes(trace, result)) {
        marks << Q(note.mark);
        texts << Q(note.text);
    }
    NotesLabel->setText(marks.join(u'\n'));
    NotesLabel->setToolTip(texts.join(u'\n'));
    const QString totals = Q(SumTraceText(trace, last));
    TotalOverMinutesLabel->setToolTip(totals);
    TotalOverPayLabel->setToolTip(totals);

    TotalOverMinutesLabel->setText(Q(result.totalsTexts.totalMinutes));
    TotalOverPayLabel->setText(Q(result.totalsTexts.totalYen));
    WorkDaysLabel->setText(Q(result.totalsTexts.workDays));
    HolidayWorkDaysLabel->setText(Q(result.totalsTexts.holidayWorkDays));
}

std::optional<QString> TInputW::FigureHint(int col, int row) const {
    const MonthResult& result = entry_.Result();
    if (!figuresShown_ || col <= LastTypedColumn() || col > LastColumn() || row < 1 ||
        row > DayRows() || row > static_cast<int>(result.days.size()))
        return std::nullopt;
    if (IsUnused(col))
        return QString();
    return Q(CellTraceText(TraceMonth(entry_.ResultInput(), result), static_cast<std::size_t>(row),
                           col));
}

void TInputW::Recalculate(bool checkCurrentCell) {
    if (checkCurrentCell && !IsTimeText(entry_.Text({col_, row_})))
        return;
    if (entry_.NeedsCalculation())
        ShowFigures();
}

void TInputW::CommitEditor() {
    const QModelIndex index = InputGrid->currentIndex();
    if (QWidget* editor = InputGrid->indexWidget(index))
        inputDelegate_->setModelData(editor, InputGrid->model(), index);
}

bool TInputW::AskAboutInvalidCells() {
    CommitEditor();
    const std::vector<std::string> captions = ColumnCaptions(PayScheme(), WorkType());
    QStringList bad;
    for (const EntryCell cell : entry_.InvalidCells())
        bad << dayLabels_[cell.row - 1] + QStringLiteral("　") + Q(captions[cell.col]) +
                   QStringLiteral("　《 ") + Q(entry_.Text(cell)) + QStringLiteral(" 》");
    if (bad.isEmpty())
        return true;
    if (Messages::Confirm(this,
                          QStringLiteral("次の時間データは不正なため、空欄にします。\r\n\r\n") +
                              bad.join(QStringLiteral("\r\n")) +
                              QStringLiteral("\r\n\r\nよろしいですか？")))
        return true;
    InputGrid->setFocus();
    return false;
}

void TInputW::CollectMonth() {
    // The buttons take no focus, so a cell may still be in its editor. A valid
    // time typed there is an edit like any other; a bad one is emptied with
    // the others.
    CommitEditor();
    if (entry_.EditValid())
        EndEdit();
    // The record is made from the calculation, never from what the labels show.
    entry_.Collect(settings_->Calc_Set);
    ShowTypedCells();
    PaintFigures();
}

void TInputW::MoveToNextCell() {
    const EntryCell from{col_, row_};
    const EntryCell to = entry_.EnterTarget(from);
    if (to == from)
        return;
    InputGrid->setCurrentCell(to.row, to.col);
}

// ---------------------------------------------------------------------------
// Editing

void TInputW::OnCurrentCellChanged(const QModelIndex& current, const QModelIndex&) {
    if (revertingMove_ || !current.isValid())
        return;
    const int col = current.column();
    const int row = current.row();
    if (col == col_ && row == row_)
        return;
    // Put the cursor back first: a refused move must leave nothing behind, and
    // the warning below is modal.
    SetCurrentCell(col_, row_);
    Guarded(this, [this, col, row] {
        if (!InputGridSelectCell(col, row))
            return;
        SetCurrentCell(col, row);
        InputGridClick();
    });
}

bool TInputW::InputGridSelectCell(int col, int row) {
    if (!entry_.CanType({col, row}))
        return false;
    if (!entry_.EditValid()) {
        ShowInvalidTimeWarning();
        return false;
    }
    Recalculate(true);
    return true;
}

void TInputW::ShowInvalidTimeWarning() {
    Messages::Warning(this, QStringLiteral("時間データが不正です。\r\n\r\n《 ") +
                                Q(entry_.EditText()) + QStringLiteral(" 》"));
    // Back to typing in the cell that holds the bad time.
    InputGrid->setFocus();
    InputGrid->edit(InputGrid->model()->index(row_, col_));
}

void TInputW::SetCurrentCell(int col, int row) {
    revertingMove_ = true;
    InputGrid->setCurrentCell(row, col);
    revertingMove_ = false;
    if (col != col_ || row != row_)
        EndEdit();
    col_ = col;
    row_ = row;
}

void TInputW::InputGridSetEditText(int col, int row, const QString& text) {
    if (entry_.Type({col, row}, S(text)))
        ShowModified();
}

void TInputW::ShowModified() {
    ClosePB->setCaption(QStringLiteral("中止"));
    SavedLabel->clear();
}

void TInputW::InputGridClick() {
    // The half holiday's finish and the weekday rates follow the current row.
    const std::vector<DayCells> rows =
        SummaryRows(Opened().input, entry_.Result(), WeekdayOfRow(row_));
    if (PayScheme() == 1) {
        if (!IsUnused(kOvertimeColumn))
            SetViewCell(kOvertimeColumn, 0, Q(rows[0][kOvertimeColumn]));
    } else if (HasWeekdayRates(WorkType()) && !IsUnused(kBand1Column)) {
        for (int c = kBand1Column; c < kHourlyTotalColumn; ++c)
            SetViewCell(c, 1, Q(rows[1][c]));
    }
}

// ---------------------------------------------------------------------------
// Drawing

void TInputW::InputGridDrawCell(QPainter* canvas, int col, int row, const QRect& rect,
                                TGridDrawState state) const {
    QString text = InputGrid->Cells(col, row);
    if (text == TimeCellDelegate::BlankMaskText())
        text.clear();
    QFont font = InputGrid->font();
    QColor ink = state.Fixed ? InputGrid->palette().color(QPalette::ButtonText) : Qt::black;
    if (col == 0 && row == 0) {
        // The work pattern stands out: green, bold italic, three points larger.
        font.setBold(true);
        font.setItalic(true);
        if (font.pixelSize() > 0)
            font.setPixelSize(font.pixelSize() + 4);
        else
            font.setPointSizeF(font.pointSizeF() + 3);
        ink = QColor(0, 128, 0);
    } else if (col == 0) {
        // The calculation marks the weekly holidays of daily-wage months;
        // national holidays look the same in both schemes.
        if (row >= 1 && row <= static_cast<int>(entry_.Result().days.size())) {
            const DayRow& day = entry_.Result().days[row - 1];
            if (day.holiday || !nationalHolidays_[row - 1].isEmpty())
                ink = Qt::red;
            else if (day.halfHoliday)
                ink = QColor(0, 0, 128);
        }
    } else {
        ink = IsUnused(col) ? InvalidColor() : ValidColor();
        // A clock-in counted as the evening before is tinted for a second look.
        if (col == 1 && row >= 1 && row <= static_cast<int>(lateClockIn_.size()) &&
            lateClockIn_[row - 1] && !state.Selected)
            canvas->fillRect(rect, QColor(0xff, 0xe0, 0xa0));
    }
    canvas->setFont(font);
    canvas->setPen(ink);
    canvas->drawText(rect, Qt::AlignCenter, text);
}

void TInputW::DataViewGridbDrawCell(QPainter* canvas, int col, int row, const QRect& rect,
                                    TGridDrawState state) const {
    const QPalette& palette = DataViewGrid->palette();
    canvas->setFont(DataViewGrid->font());
    if (col == 0) {
        // The caption column looks raised.
        canvas->setPen(palette.color(QPalette::Light));
        canvas->drawLine(rect.topLeft(), rect.bottomLeft());
        canvas->drawLine(rect.topLeft(), rect.topRight());
        canvas->setPen(palette.color(QPalette::ButtonText));
    } else if (IsUnused(col)) {
        // Figures of a column the pattern does not use are drawn invisible.
        return;
    } else {
        canvas->setPen(ValidColor());
    }
    canvas->drawText(rect, Qt::AlignCenter, DataViewGrid->Cells(col, row));
    if (state.Focused) {
        QStyleOptionFocusRect focus;
        focus.rect = rect.adjusted(1, 1, -1, -1);
        focus.palette = palette;
        DataViewGrid->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, canvas,
                                             DataViewGrid);
    }
}

// ---------------------------------------------------------------------------
// Buttons

void TInputW::CalcPBClick() {
    Guarded(this, [this] {
        CommitEditor();
        ShowFigures();
    });
}

void TInputW::SavePBClick() {
    SaveMonth();
}

bool TInputW::SaveMonth() {
    bool saved = false;
    Guarded(this, [this, &saved] {
        if (!AskAboutInvalidCells())
            return;
        CollectMonth();
        MessageOperator op(this);
        // A failed write has been reported; the edits stay unsaved.
        saved = WriteMonthRecord(files_, Opened().year, Month(), op);
    });
    if (!saved)
        return false;
    entry_.MarkSaved();
    emit monthSaved();
    ClosePB->setCaption(QStringLiteral("終了"));
    SavedLabel->setText(QStringLiteral("記録しました。"));
    savedTimer_->start();
    return true;
}

void TInputW::PrintPBClick() {
    Guarded(this, [this] {
        if (!AskAboutInvalidCells())
            return;
        CollectMonth();
        // The report holds what the month record now keeps: both come from the
        // same calculation.
        const OpenedMonth& opened = Opened();
        const ReportSubject subject{opened.id, opened.name, opened.year, opened.month,
                                    files_.Folder};
        TPrintD dialog(MakeMonthReport(opened.input, entry_.Result()), subject, this,
                       PrinterMemory{settings_, files_.fs});
        dialog.exec();
    });
}

void TInputW::ClosePBClick() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

void TInputW::PanelButton9Click() {
    // Every typed time goes from the screen; only 戻す brings back the last save.
    if (!Messages::Confirm(this, QStringLiteral("全入力データを消去しますか？"), Messages::No))
        return;
    Guarded(this, [this] {
        CommitEditor();
        const EntrySnapshot before = entry_.Snapshot();
        ClearAll();
        RecordChange(QStringLiteral("消去"), entry_.ChangeSince(before));
    });
}

void TInputW::ClearAll() {
    entry_.Clear();
    // The figures go with their explanations and notes.
    figuresShown_ = false;
    for (int r = 0; r < InputGrid->rowCount(); ++r)
        for (int c = 1; c < InputGrid->columnCount(); ++c) {
            SetInputCell(c, r, QString());
            InputGrid->item(r, c)->setToolTip(QString());
        }
    for (int r = 0; r < DataViewGrid->rowCount(); ++r)
        for (int c = 1; c < DataViewGrid->columnCount(); ++c) {
            SetViewCell(c, r, QString());
            DataViewGrid->item(r, c)->setToolTip(QString());
        }
    lateClockIn_.assign(lateClockIn_.size(), false);
    NotesLabel->clear();
    NotesLabel->setToolTip(QString());
    TotalOverMinutesLabel->setToolTip(QString());
    TotalOverPayLabel->setToolTip(QString());
    SetupColumns();
    InputGridClick();
    WorkDaysLabel->setText(QStringLiteral("0"));
    HolidayWorkDaysLabel->setText(QStringLiteral("0"));
    TotalOverMinutesLabel->setText(QStringLiteral("00:00"));
    TotalOverPayLabel->setText(Q(FormatYen(0)));
}

void TInputW::PanelButton1Click() {
    Guarded(this, [this] {
        CommitEditor();
        const EntrySnapshot before = entry_.Snapshot();
        LoadCells();
        RecordChange(QStringLiteral("戻す"), entry_.ChangeSince(before));
    });
}

void TInputW::RestoreTypedCells(const EntrySnapshot& cells) {
    if (QWidget* editor = InputGrid->indexWidget(InputGrid->currentIndex()))
        emit inputDelegate_->closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    entry_.Restore(cells);
    ShowTypedCells();
    ShowModified();
    Recalculate(false);
}

void TInputW::RecordChange(const QString& what, const std::optional<EntryChange>& change) {
    if (!change)
        return;
    undo_->push(new CellsChange(what, *change,
                                [this](const EntrySnapshot& cells) { RestoreTypedCells(cells); }));
}

void TInputW::EndEdit() {
    RecordChange(QStringLiteral("入力"), entry_.EndEdit());
}

void TInputW::UndoClick() {
    Guarded(this, [this] {
        CommitEditor();
        // A bad time being typed is taken back as Escape does; a good one is
        // an edit of its own and undone as such.
        if (!entry_.EditValid()) {
            InputGridEscape();
            return;
        }
        EndEdit();
        undo_->undo();
    });
}

void TInputW::RedoClick() {
    Guarded(this, [this] {
        CommitEditor();
        if (!entry_.EditValid())
            return;
        EndEdit();
        undo_->redo();
    });
}

void TInputW::Panel3Resize() {
    DataViewGrid->setFixedHeight(SummaryHeight(InputGrid->DefaultRowHeight()));
}

int TInputW::SummaryHeight(int rowHeight) const {
    const int tall = HasHolidayLayout() ? 178 : 103;
    return tall - DataViewGrid->rowCount() * (kRowHeight - rowHeight);
}

int TInputW::MonthHeight(int rowHeight) const {
    // The headings, every day and the summary.
    return 2 * InputGrid->frameWidth() + rowHeight * (DayRows() + 1) + SummaryHeight(rowHeight);
}

void TInputW::FitRows() {
    // A 31-day month with the holiday summary is taller than what a 1024-pixel
    // screen leaves under a title bar and a panel: the rows give up a few
    // pixels before the days have to scroll.
    int rowHeight = kRowHeight;
    while (rowHeight > kLeastRowHeight && MonthHeight(rowHeight) > height())
        --rowHeight;
    if (rowHeight == InputGrid->DefaultRowHeight())
        return;
    InputGrid->SetDefaultRowHeight(rowHeight);
    DataViewGrid->SetDefaultRowHeight(rowHeight);
    Panel3Resize();
}

void TInputW::resizeEvent(QResizeEvent* event) {
    // Also the size a window is shown at, before its grids are: they are
    // painted once, with rows that fit.
    FitRows();
    QWidget::resizeEvent(event);
}

void TInputW::ShowCommandMenu(const QPoint& at) {
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("CommandMenu"));
    for (TPanelButton* button : {CalcPB, SavePB, PrintPB, PanelButton9, PanelButton1, ClosePB}) {
        if (button == ClosePB) {
            menu.addSeparator();
            for (QAction* step : {undoAction_, redoAction_}) {
                QAction* item = menu.addAction(step->text() + u'\t' +
                                               step->shortcut().toString(QKeySequence::NativeText));
                item->setEnabled(step == undoAction_ ? entry_.Editing() || undo_->canUndo()
                                                     : undo_->canRedo());
                item->setData(QVariant::fromValue(static_cast<QObject*>(step)));
            }
            menu.addSeparator();
        }
        const QString key = button->shortcut().toString(QKeySequence::NativeText);
        QAction* item =
            menu.addAction(key.isEmpty() ? button->caption() : button->caption() + u'\t' + key);
        item->setEnabled(button->isEnabled());
        item->setData(QVariant::fromValue(static_cast<QObject*>(button)));
    }
    // The command runs once the menu is gone: it may open a box or close the window.
    if (QAction* chosen = menu.exec(at)) {
        QObject* command = chosen->data().value<QObject*>();
        if (auto* button = qobject_cast<TPanelButton*>(command))
            button->click();
        else if (auto* step = qobject_cast<QAction*>(command))
            step->trigger();
    }
}

int TInputW::WholeMonthHeight() const {
    return MonthHeight(kRowHeight);
}

void TInputW::InputGridTopLeftChanged() {
    DataViewGrid->horizontalScrollBar()->setValue(InputGrid->horizontalScrollBar()->value());
}

void TInputW::DataViewGridEnter() {
    InputGrid->setFocus();
}

// ---------------------------------------------------------------------------
// Window events

void TInputW::FormActivate() {
    emit mainWidthWanted(MainWindowWidth());
}

bool TInputW::FormCloseQuery() {
    // Unsaved edits are offered for saving. The answer never keeps the window
    // open; a failed save does, or the edits would be lost with it.
    if (Modified() && Messages::Confirm(this, QStringLiteral("変更されたデータを記録しますか？")))
        return SaveMonth();
    return true;
}

void TInputW::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    // The child window deletes the window with it.
    event->accept();
}

bool TInputW::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        // The window's hint is its entry key, there for the main window to
        // find it; controls without a hint of their own show nothing.
        QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

bool TInputW::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == InputGrid || watched == InputGrid->viewport()) &&
        event->type() == QEvent::ContextMenu) {
        const auto* asked = static_cast<QContextMenuEvent*>(event);
        // From the keyboard the menu opens at the current cell.
        const QRect cell = InputGrid->visualRect(InputGrid->currentIndex());
        ShowCommandMenu(asked->reason() == QContextMenuEvent::Keyboard && cell.isValid()
                            ? InputGrid->viewport()->mapToGlobal(cell.center())
                            : asked->globalPos());
        return true;
    }
    if (watched == InputGrid && event->type() == QEvent::KeyPress)
        return InputGridKeyPress(static_cast<QKeyEvent*>(event));
    if (watched == DataViewGrid && event->type() == QEvent::FocusIn) {
        DataViewGridEnter();
        return false;
    }
    return QWidget::eventFilter(watched, event);
}

bool TInputW::InputGridKeyPress(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            MoveToNextCell();
            return true;
        case Qt::Key_Escape:
            InputGridEscape();
            return true;
        case Qt::Key_Delete:
            InputGridDelete();
            return true;
        default:
            return false;
    }
}

void TInputW::InputGridEscape() {
    if (!entry_.Editing())
        return;
    if (QWidget* editor = InputGrid->indexWidget(InputGrid->currentIndex()))
        emit inputDelegate_->closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    // A bad time that was taken into the cell goes as well.
    entry_.CancelEdit();
    ShowTypedCells();
    if (!Modified())
        ClosePB->setCaption(QStringLiteral("終了"));
    Recalculate(true);
}

void TInputW::InputGridDelete() {
    const EntryCell cell{col_, row_};
    if (entry_.Text(cell).empty() || !entry_.Type(cell, std::string()))
        return;
    ShowModified();
    SetInputCell(col_, row_, QString());
    EndEdit();
    // An emptied day changes the totals at once.
    Recalculate(false);
}

QString TInputW::InputGridGetEditMask(int, int) const {
    return QStringLiteral("00:00;1");
}

}  // namespace pb
