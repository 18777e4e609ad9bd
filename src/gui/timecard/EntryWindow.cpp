#include "gui/timecard/EntryWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QToolTip>
#include <QUndoStack>
#include <exception>
#include <functional>
#include <optional>
#include <utility>

#include "core/common/Routines.h"
#include "core/store/WorkDataFiles.h"
#include "core/timecard/FigureTrace.h"
#include "core/timecard/WorkPattern.h"
#include "gui/controls/Pbutton.h"
#include "gui/overview/YearTotalW.h"
#include "gui/print/PrintDailyW.h"
#include "gui/shared/ChildActivation.h"
#include "gui/shared/Guard.h"
#include "gui/shared/MessageOperator.h"
#include "gui/shared/Messages.h"
#include "gui/shared/Naming.h"
#include "gui/shared/Text.h"
#include "gui/timecard/CellsChange.h"
#include "gui/timecard/DayGridModel.h"
#include "gui/timecard/EntryButtonPanel.h"
#include "gui/timecard/EntryGridView.h"
#include "gui/timecard/EntryGridsPanel.h"
#include "gui/timecard/SummaryModel.h"
#include "gui/timecard/TimeCellDelegate.h"

namespace pb {

// ---------------------------------------------------------------------------
// Creation

EntryWindow::EntryWindow(const EntrySelection& selection, const DataFiles& files,
                         Settings& settings, QWidget* parent)
    : EntryWindow(Open(selection, files, settings), files, settings, parent) {}

EntryWindow::EntryWindow(OpenedMonth month, const DataFiles& files, Settings& settings,
                         QWidget* parent)
    : QWidget(parent), files_(files), settings_(&settings), entry_(std::move(month), files) {
    Name(this, QStringLiteral("InputW"));
    setFont(WindowFont());
    BuildLayout();
    ShowOpenedMonth();
    connect(new ChildActivation(this), &ChildActivation::activated, this, &EntryWindow::Activated);
}

QFont EntryWindow::WindowFont() {
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPixelSize(12);
    return font;
}

EntryWindow::~EntryWindow() = default;

QString EntryWindow::MakeEntryKey(PayScheme payScheme, const std::string& id, int year, int month) {
    return QString::number(SchemeNumber(payScheme)) + Q(id) + QString::number(year) +
           Q(PadNumber(month, 2));
}

OpenedMonth EntryWindow::Open(const EntrySelection& selection, const DataFiles& files,
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

void EntryWindow::ShowOpenedMonth() {
    const OpenedMonth& opened = Opened();
    setToolTip(MakeEntryKey(Scheme(), opened.id, opened.year, opened.month));
    if (Scheme() != PayScheme::Daily)
        buttons_->HideHolidayDays();

    // The rates and band times of the summary come with a calculation, which
    // the entry made as it opened; the figures of a stored month are shown.
    ShowSummaryLayout();
    if (opened.stored)
        LoadStoredCells();

    const EntryCell first = entry_.FirstCell();
    col_ = first.col;
    row_ = first.row;
    SetCurrentCell(col_, row_);

    setWindowTitle(QStringLiteral("  ") + Q(opened.name) + QStringLiteral("  ") +
                   QString::number(opened.year) + QStringLiteral("年度　") +
                   QString::number(opened.month) + QStringLiteral("月分"));
    // Screen readers name the two tables after the month they belong to.
    const QString month = windowTitle().simplified();
    dayGrid_->setAccessibleName(QStringLiteral("勤務時間 ") + month);
    grids_->summaryGrid->setAccessibleName(QStringLiteral("集計 ") + month);
    FollowCurrentRow();
}

void EntryWindow::BuildLayout() {
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    dayModel_ = new DayGridModel(entry_, *settings_, font(), this);
    connect(dayModel_, &DayGridModel::typed, this, &EntryWindow::ShowModified);
    summary_ = new SummaryModel(entry_, *settings_, this);
    grids_ = new EntryGridsPanel(dayModel_, summary_, HasHolidayLayout(), this);
    dayGrid_ = grids_->dayGrid;
    inputDelegate_ = new TimeCellDelegate(dayGrid_);
    inputDelegate_->SetMaskHook(
        [this](const QModelIndex& index) { return EditMask(index.column(), index.row()); });
    inputDelegate_->SetEnterHook([this] { MoveToNextCell(); });
    inputDelegate_->SetEscapeHook([this] { CancelCellEdit(); });
    dayGrid_->setItemDelegate(inputDelegate_);
    // The operator's moves are checked before they happen.
    dayGrid_->OnSelectCell = [this](int col, int row) { return MayEnterCell(col, row); };
    dayGrid_->installEventFilter(this);
    // The buttons take no focus: the grid's menu (menu key or right click)
    // reaches all six from the keyboard.
    dayGrid_->viewport()->installEventFilter(this);
    connect(dayGrid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &EntryWindow::CurrentCellChanged);
    outer->addWidget(grids_, 1);

    buttons_ = new EntryButtonPanel(this);
    connect(buttons_->calculate, &TPanelButton::clicked, this, &EntryWindow::CalculateClicked);
    connect(buttons_->print, &TPanelButton::clicked, this, &EntryWindow::PrintClicked);
    connect(buttons_->save, &TPanelButton::clicked, this, &EntryWindow::SaveClicked);
    connect(buttons_->close, &TPanelButton::clicked, this, &EntryWindow::CloseClicked);
    connect(buttons_->clear, &TPanelButton::clicked, this, &EntryWindow::ClearClicked);
    connect(buttons_->restore, &TPanelButton::clicked, this, &EntryWindow::RestoreClicked);
    outer->addWidget(buttons_, 0);

    // Undo and redo reach back to the opening of the window.
    undo_ = new QUndoStack(this);
    auto action = [this](const char* name, const char* caption, QList<QKeySequence> keys,
                         void (EntryWindow::*slot)()) {
        auto* item = new QAction(QString::fromUtf8(caption), this);
        item->setObjectName(QString::fromLatin1(name));
        item->setShortcuts(keys);
        item->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(item, &QAction::triggered, this, slot);
        addAction(item);
        return item;
    };
    undoAction_ = action("UndoAction", "元に戻す", {QKeySequence(Qt::CTRL | Qt::Key_Z)},
                         &EntryWindow::UndoClick);
    redoAction_ =
        action("RedoAction", "やり直し",
               {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
               &EntryWindow::RedoClick);
    yearAction_ =
        action("YearTotalAction", "年間集計", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Y)},
               &EntryWindow::YearTotalClicked);
}

// ---------------------------------------------------------------------------
// Cells

int EntryWindow::WeekdayOfRow(int row) const {
    return dayModel_->WeekdayOfRow(row);
}

bool EntryWindow::HasHolidayLayout() const {
    return Scheme() == PayScheme::Daily && Opened().input.daily.Holiday != 0;
}

// ---------------------------------------------------------------------------
// Operations

void EntryWindow::ShowSummaryLayout() {
    // The layout, the band times and the rates follow the current row; the
    // figure rows wait for a calculation.
    summary_->Refresh(WeekdayOfRow(row_));
}

void EntryWindow::LoadStoredCells() {
    entry_.RestoreStored();
    ShowTypedCells();
    Recalculate(false);
}

void EntryWindow::ShowTypedCells() {
    dayModel_->TypedCellsChanged();
}

void EntryWindow::ShowFigures() {
    // The rules are read at each run: the settings dialog may have changed them.
    entry_.Calculate(settings_->Calc_Set);
    PaintFigures();
}

void EntryWindow::PaintFigures() {
    const MonthResult& result = entry_.Result();
    // Each figure explains itself in its tool tip, in the core's words.
    const MonthTrace trace = TraceMonth(entry_.ResultInput(), result);
    dayModel_->ShowFigures(trace);
    summary_->ShowFigures(trace);
    QStringList marks;
    QStringList texts;
    for (const MonthNote& note : MonthNotes(trace, result)) {
        marks << Q(note.mark);
        texts << Q(note.text);
    }
    buttons_->ShowNotes(marks, texts);
    buttons_->ShowTotals(result.totalsTexts, Q(SumTraceText(trace, LastColumn())));
}

void EntryWindow::Recalculate(bool checkCurrentCell) {
    if (checkCurrentCell && !IsTimeText(entry_.Text({col_, row_})))
        return;
    if (entry_.NeedsCalculation())
        ShowFigures();
}

void EntryWindow::CommitEditor() {
    const QModelIndex index = dayGrid_->currentIndex();
    if (QWidget* editor = dayGrid_->indexWidget(index))
        inputDelegate_->setModelData(editor, dayGrid_->model(), index);
}

bool EntryWindow::AskAboutInvalidCells() {
    CommitEditor();
    const std::vector<std::string> captions = ColumnCaptions(Scheme(), WorkType());
    QStringList bad;
    for (const EntryCell cell : entry_.InvalidCells())
        bad << dayModel_->DayLabel(cell.row) + QStringLiteral("　") + Q(captions[cell.col]) +
                   QStringLiteral("　《 ") + Q(entry_.Text(cell)) + QStringLiteral(" 》");
    if (bad.isEmpty())
        return true;
    if (Messages::Confirm(this,
                          QStringLiteral("次の時間データは不正なため、空欄にします。\r\n\r\n") +
                              bad.join(QStringLiteral("\r\n")) +
                              QStringLiteral("\r\n\r\nよろしいですか？")))
        return true;
    dayGrid_->setFocus();
    return false;
}

void EntryWindow::CollectMonth() {
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

void EntryWindow::MoveToNextCell() {
    const EntryCell from{col_, row_};
    const EntryCell to = entry_.EnterTarget(from);
    if (to == from)
        return;
    dayGrid_->setCurrentCell(to.row, to.col);
}

// ---------------------------------------------------------------------------
// Editing

void EntryWindow::CurrentCellChanged(const QModelIndex& current, const QModelIndex&) {
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
        if (!MayEnterCell(col, row))
            return;
        SetCurrentCell(col, row);
        FollowCurrentRow();
    });
}

bool EntryWindow::MayEnterCell(int col, int row) {
    if (!entry_.CanType({col, row}))
        return false;
    if (!entry_.EditValid()) {
        ShowInvalidTimeWarning();
        return false;
    }
    Recalculate(true);
    return true;
}

void EntryWindow::ShowInvalidTimeWarning() {
    Messages::Warning(this, QStringLiteral("時間データが不正です。\r\n\r\n《 ") +
                                Q(entry_.EditText()) + QStringLiteral(" 》"));
    // Back to typing in the cell that holds the bad time.
    dayGrid_->setFocus();
    dayGrid_->edit(dayGrid_->model()->index(row_, col_));
}

void EntryWindow::SetCurrentCell(int col, int row) {
    revertingMove_ = true;
    dayGrid_->setCurrentCell(row, col);
    revertingMove_ = false;
    if (col != col_ || row != row_)
        EndEdit();
    col_ = col;
    row_ = row;
}

void EntryWindow::ShowModified() {
    buttons_->close->setCaption(QStringLiteral("中止"));
    buttons_->ClearSaved();
}

void EntryWindow::FollowCurrentRow() {
    // The half holiday's finish and the weekday rates follow the current row.
    summary_->Refresh(WeekdayOfRow(row_));
}

// ---------------------------------------------------------------------------
// Buttons

void EntryWindow::CalculateClicked() {
    Guarded(this, [this] {
        CommitEditor();
        ShowFigures();
    });
}

void EntryWindow::SaveClicked() {
    SaveMonth();
}

bool EntryWindow::SaveMonth() {
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
    buttons_->close->setCaption(QStringLiteral("終了"));
    buttons_->ShowSaved();
    return true;
}

void EntryWindow::PrintClicked() {
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

void EntryWindow::CloseClicked() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

void EntryWindow::ClearClicked() {
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

void EntryWindow::ClearAll() {
    entry_.Clear();
    ShowTypedCells();
    // The figures go with their explanations and notes.
    dayModel_->HideFigures();
    summary_->HideFigures();
    buttons_->ShowNotes({}, {});
    buttons_->ResetTotals();
}

void EntryWindow::RestoreClicked() {
    Guarded(this, [this] {
        CommitEditor();
        const EntrySnapshot before = entry_.Snapshot();
        LoadStoredCells();
        RecordChange(QStringLiteral("戻す"), entry_.ChangeSince(before));
    });
}

void EntryWindow::RestoreTypedCells(const EntrySnapshot& cells) {
    if (QWidget* editor = dayGrid_->indexWidget(dayGrid_->currentIndex()))
        emit inputDelegate_->closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    entry_.Restore(cells);
    ShowTypedCells();
    ShowModified();
    Recalculate(false);
}

void EntryWindow::RecordChange(const QString& what, const std::optional<EntryChange>& change) {
    if (!change)
        return;
    undo_->push(new CellsChange(what, *change,
                                [this](const EntrySnapshot& cells) { RestoreTypedCells(cells); }));
}

void EntryWindow::EndEdit() {
    RecordChange(QStringLiteral("入力"), entry_.EndEdit());
}

void EntryWindow::UndoClick() {
    Guarded(this, [this] {
        CommitEditor();
        // A bad time being typed is taken back as Escape does; a good one is
        // an edit of its own and undone as such.
        if (!entry_.EditValid()) {
            CancelCellEdit();
            return;
        }
        EndEdit();
        undo_->undo();
    });
}

void EntryWindow::RedoClick() {
    Guarded(this, [this] {
        CommitEditor();
        if (!entry_.EditValid())
            return;
        EndEdit();
        undo_->redo();
    });
}

void EntryWindow::resizeEvent(QResizeEvent* event) {
    // Also the size a window is shown at, before its grids are: they are
    // painted once, with rows that fit.
    grids_->FitRows(height());
    QWidget::resizeEvent(event);
}

void EntryWindow::ShowCommandMenu(const QPoint& at) {
    buttons_->ExecCommandMenu(at, {undoAction_, redoAction_}, entry_.Editing() || undo_->canUndo(),
                              undo_->canRedo(), {yearAction_});
}

void EntryWindow::YearTotalClicked() {
    auto* year = new TYearTotal({files_, *settings_, *files_.fs, RealFileSystem(), &ChooseSaveFile},
                                Opened().id, Opened().year, this);
    year->setAttribute(Qt::WA_DeleteOnClose);
    year->show();
}

int EntryWindow::WholeMonthHeight() const {
    return grids_->WholeMonthHeight();
}

// ---------------------------------------------------------------------------
// Window events

void EntryWindow::Activated() {
    emit mainWidthWanted(MainWindowWidth());
}

bool EntryWindow::MayClose() {
    // Unsaved edits are offered for saving. The answer never keeps the window
    // open; a failed save does, or the edits would be lost with it.
    if (Modified() && Messages::Confirm(this, QStringLiteral("変更されたデータを記録しますか？")))
        return SaveMonth();
    return true;
}

void EntryWindow::closeEvent(QCloseEvent* event) {
    if (!MayClose()) {
        event->ignore();
        return;
    }
    // The child window deletes the window with it.
    event->accept();
}

bool EntryWindow::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        // The window's hint is its entry key, there for the main window to
        // find it; controls without a hint of their own show nothing.
        QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

bool EntryWindow::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == dayGrid_ || watched == dayGrid_->viewport()) &&
        event->type() == QEvent::ContextMenu) {
        const auto* asked = static_cast<QContextMenuEvent*>(event);
        // From the keyboard the menu opens at the current cell.
        const QRect cell = dayGrid_->visualRect(dayGrid_->currentIndex());
        ShowCommandMenu(asked->reason() == QContextMenuEvent::Keyboard && cell.isValid()
                            ? dayGrid_->viewport()->mapToGlobal(cell.center())
                            : asked->globalPos());
        return true;
    }
    if (watched == dayGrid_ && event->type() == QEvent::KeyPress)
        return GridKeyPressed(static_cast<QKeyEvent*>(event));
    return QWidget::eventFilter(watched, event);
}

bool EntryWindow::GridKeyPressed(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            MoveToNextCell();
            return true;
        case Qt::Key_Escape:
            CancelCellEdit();
            return true;
        case Qt::Key_Delete:
            EmptyCurrentCell();
            return true;
        default:
            return false;
    }
}

void EntryWindow::CancelCellEdit() {
    if (!entry_.Editing())
        return;
    if (QWidget* editor = dayGrid_->indexWidget(dayGrid_->currentIndex()))
        emit inputDelegate_->closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    // A bad time that was taken into the cell goes as well.
    entry_.CancelEdit();
    ShowTypedCells();
    if (!Modified())
        buttons_->close->setCaption(QStringLiteral("終了"));
    Recalculate(true);
}

void EntryWindow::EmptyCurrentCell() {
    const EntryCell cell{col_, row_};
    if (entry_.Text(cell).empty() || !entry_.Type(cell, std::string()))
        return;
    ShowModified();
    ShowTypedCells();
    EndEdit();
    // An emptied day changes the totals at once.
    Recalculate(false);
}

QString EntryWindow::EditMask(int, int) const {
    return QStringLiteral("00:00;1");
}

}  // namespace pb
