#include "gui/employees/UpdateDialog.h"

#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "core/store/EmployeeFiles.h"
#include "core/store/Settings.h"
#include "gui/controls/Pbutton.h"
#include "gui/shared/Colors.h"
#include "gui/shared/Images.h"
#include "gui/shared/Naming.h"
#include "gui/shared/PanelButtons.h"
#include "gui/shared/Text.h"

namespace pb {

namespace {

constexpr int kRowHeight = 25;     // 24 pixels and the grid line
constexpr int kColumnWidth = 131;  // 130 pixels and the grid line
constexpr int kBarHeight = 44;
constexpr int kMinimumHeight = 127;  // 154 with the window frame
constexpr int kTitleBarRoom = 40;    // kept free on the screen for the window's title bar

// StringGrid1DrawCell: every cell, fixed ones included, on its own brush, the
// text in the row's colour; column 0 two pixels in, the others centred.
class CompareCellDelegate : public QStyledItemDelegate {
  public:
    CompareCellDelegate(const UpdateDialog* dialog)
        : QStyledItemDelegate(nullptr), dialog_(dialog) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool fixed = index.row() == 0 || index.column() == 0;
        const QRect rect = option.rect;
        painter->save();
        painter->fillRect(rect, fixed ? option.palette.button() : option.palette.base());
        const QString text = index.data().toString();
        const QFontMetrics metrics(option.font);
        const int width = metrics.horizontalAdvance(text);
        const int x =
            index.column() == 0 ? rect.left() + 2 : rect.left() + (rect.width() - width) / 2;
        const int y = rect.top() + (rect.height() - metrics.height()) / 2;
        painter->setFont(option.font);
        painter->setPen(dialog_->RowColour(index.row()));
        painter->setClipRect(rect);
        painter->drawText(QPoint(x, y + metrics.ascent()), text);
        painter->restore();
    }

  private:
    const UpdateDialog* dialog_;
};

QFrame* SunkenLine(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setFixedHeight(2);
    return line;
}

}  // namespace

UpdateDialog::UpdateDialog(const DataFiles& files, const Settings& settings, const std::string& id,
                           const std::string& newName, const QStringList& rowLabels,
                           const QStringList& newValues, bool heightBounded, QWidget* parent)
    : QDialog(parent),
      files_(files),
      settings_(settings),
      id_(id),
      newName_(Q(newName)),
      rowLabels_(rowLabels),
      newValues_(newValues),
      heightBounded_(heightBounded) {
    setWindowTitle(QStringLiteral("登録確認"));
    setProperty("HelpContext", 11);
    QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPixelSize(12);
    setFont(f);

    auto* bar = new QWidget(this);
    bar->setFixedHeight(kBarHeight);
    update_ = MakePanelButton(bar, QStringLiteral("PanelButton1"), QStringLiteral("更新"),
                              Glyph(QStringLiteral("Start")), QStringLiteral("従業員データの登録"));
    update_->setGeometry(2, 2, 48, 40);
    cancel_ = MakePanelButton(bar, QStringLiteral("PanelButton2"), QStringLiteral("中止"),
                              Glyph(QStringLiteral("Exit")), QStringLiteral("データ登録の終了"));
    cancel_->setGeometry(52, 2, 48, 40);
    // Enter answers the question, Esc declines it, as in a message box.
    GivePanelKey(update_, QKeySequence(Qt::Key_Return));
    GivePanelKey(cancel_, QKeySequence(Qt::Key_Escape));
    connect(update_, &TPanelButton::clicked, this, &UpdateDialog::UpdateClicked);
    connect(cancel_, &TPanelButton::clicked, this, &UpdateDialog::CancelClicked);

    question_ = new QLabel(bar);
    Name(question_, QStringLiteral("Label1"));
    QFont question(QStringLiteral("ＭＳ ゴシック"));
    question.setPixelSize(13);
    question.setBold(true);
    question_->setFont(question);
    question_->setGeometry(110, 4, 300, 36);
    question_->setProperty("tag", 1);
    QPalette black = question_->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    question_->setPalette(black);

    grid_ = new QTableWidget(static_cast<int>(rowLabels_.size()) + 2, 3, this);
    Name(grid_, QStringLiteral("StringGrid1"));
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::NoSelection);
    grid_->setFocusPolicy(Qt::NoFocus);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grid_->setItemDelegate(new CompareCellDelegate(this));
    for (int row = 0; row < grid_->rowCount(); ++row)
        for (int column = 0; column < 3; ++column)
            grid_->setItem(row, column, new QTableWidgetItem());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(SunkenLine(this));
    layout->addWidget(bar);
    layout->addWidget(SunkenLine(this));
    layout->addWidget(grid_, 1);

    const int frame = 2 * grid_->frameWidth();
    narrowWidth_ = 3 * kColumnWidth + frame;
    wideWidth_ = narrowWidth_ + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    setMinimumHeight(kMinimumHeight);
    if (heightBounded_)
        setMaximumHeight(FullHeight());
    setFixedWidth(wideWidth_);
    // Every row in sight where the screen has room for them. No position is set:
    // the dialog opens centred on the window that asks.
    resize(wideWidth_, OpeningHeight());

    flashTimer_ = new QTimer(this);
    Name(flashTimer_, QStringLiteral("Timer1"));
    flashTimer_->setInterval(300);
    connect(flashTimer_, &QTimer::timeout, this, &UpdateDialog::Flash);
    flashTimer_->start();
}

int UpdateDialog::FullHeight() const {
    return 2 + kBarHeight + 2 + grid_->rowCount() * kRowHeight + 2 * grid_->frameWidth();
}

int UpdateDialog::OpeningHeight() const {
    const QScreen* screen =
        parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return FullHeight();
    const int room = screen->availableGeometry().height() - kTitleBarRoom;
    return std::max(kMinimumHeight, std::min(FullHeight(), room));
}

QColor UpdateDialog::RowColour(int row) const {
    if (row == 0)
        return FromColorRef(settings_.FontColor.ValidColor);
    const QTableWidgetItem* stored = grid_->item(row, 1);
    const QTableWidgetItem* fresh = grid_->item(row, 2);
    const bool same = stored != nullptr && fresh != nullptr && stored->text() == fresh->text();
    return FromColorRef(same ? settings_.FontColor.InvalidColor : settings_.FontColor.ValidColor);
}

void UpdateDialog::FillCompareColumn(const QStringList& values, int column) {
    for (int i = 0; i < rowLabels_.size(); ++i)
        grid_->item(i + 2, column)->setText(i < values.size() ? values[i] : QString());
}

void UpdateDialog::ReadStored(QString& name, QStringList& values) const {
    // The dialog only answers a question: when the stored data cannot be read,
    // its column stays empty rather than the question going unasked.
    try {
        name = Q(FindEmployeeName(files_, id_, kBothSchemes));
        values = StoredValues(files_, id_);
    } catch (const std::exception&) {
        name.clear();
        values.clear();
    }
}

void UpdateDialog::FormActivate() {
    QString storedName;
    QStringList stored;
    ReadStored(storedName, stored);
    FillCompareColumn(stored, 1);
    FillCompareColumn(newValues_, 2);
    question_->setText(QStringLiteral("従業員番号 ") + Q(id_) +
                       QStringLiteral(" は既に登録されています。\nデータを更新しますか？"));
    for (int column = 0; column < 3; ++column)
        grid_->setColumnWidth(column, kColumnWidth);
    grid_->item(0, 1)->setText(QStringLiteral("登録済データ"));
    grid_->item(0, 2)->setText(QStringLiteral("新しいデータ"));
    grid_->item(1, 0)->setText(QStringLiteral("氏名"));
    grid_->item(1, 1)->setText(storedName);
    grid_->item(1, 2)->setText(newName_);
    for (int i = 0; i < rowLabels_.size(); ++i)
        grid_->item(i + 2, 0)->setText(rowLabels_[i]);
    grid_->viewport()->update();
}

void UpdateDialog::FormResize() {
    if (resizing_)
        return;
    // Narrow exactly when every row fits and the table needs no scroll bar.
    const int width = height() >= FullHeight() ? narrowWidth_ : wideWidth_;
    if (width == this->width())
        return;
    resizing_ = true;
    setFixedWidth(width);
    resizing_ = false;
}

void UpdateDialog::Flash() {
    int tag = question_->property("tag").toInt();
    QPalette palette = question_->palette();
    palette.setColor(QPalette::WindowText, tag % 2 == 1 ? QColor(Qt::black) : QColor(128, 0, 0));
    question_->setPalette(palette);
    ++tag;
    question_->setProperty("tag", tag);
    if (tag >= 8)
        flashTimer_->stop();
}

void UpdateDialog::UpdateClicked() {
    done(kUpdate);
}

void UpdateDialog::CancelClicked() {
    done(kCancel);
}

void UpdateDialog::reject() {
    done(kCancel);
}

bool UpdateDialog::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QDialog::event(event);
}

void UpdateDialog::showEvent(QShowEvent* event) {
    // Filled before the first paint even where the window system never
    // activates the window.
    FormActivate();
    QDialog::showEvent(event);
}

void UpdateDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FormResize();
}

}  // namespace pb
