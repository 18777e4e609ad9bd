#include "gui/employees/ReNewDlg.h"

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

#include "core/store/Settings.h"
#include "gui/controls/Pbutton.h"
#include "gui/shared/Colors.h"
#include "gui/shared/Images.h"
#include "gui/shared/Naming.h"
#include "gui/shared/PanelButtons.h"

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
    CompareCellDelegate(const TReNewDlg* dialog) : QStyledItemDelegate(nullptr), dialog_(dialog) {}

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
    const TReNewDlg* dialog_;
};

QFrame* SunkenLine(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setFixedHeight(2);
    return line;
}

}  // namespace

TReNewDlg::TReNewDlg(const Settings& settings, const QString& id, const QString& newName,
                     const QStringList& rowLabels, bool heightBounded, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      id_(id),
      newName_(newName),
      rowLabels_(rowLabels),
      heightBounded_(heightBounded) {
    setWindowTitle(QStringLiteral("登録確認"));
    setProperty("HelpContext", 11);
    QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPixelSize(12);
    setFont(f);

    auto* bar = new QWidget(this);
    bar->setFixedHeight(kBarHeight);
    PanelButton1 =
        MakePanelButton(bar, QStringLiteral("PanelButton1"), QStringLiteral("更新"),
                        Glyph(QStringLiteral("Start")), QStringLiteral("従業員データの登録"));
    PanelButton1->setGeometry(2, 2, 48, 40);
    PanelButton2 =
        MakePanelButton(bar, QStringLiteral("PanelButton2"), QStringLiteral("中止"),
                        Glyph(QStringLiteral("Exit")), QStringLiteral("データ登録の終了"));
    PanelButton2->setGeometry(52, 2, 48, 40);
    // Enter answers the question, Esc declines it, as in a message box.
    GivePanelKey(PanelButton1, QKeySequence(Qt::Key_Return));
    GivePanelKey(PanelButton2, QKeySequence(Qt::Key_Escape));
    connect(PanelButton1, &TPanelButton::clicked, this, &TReNewDlg::PanelButton1Click);
    connect(PanelButton2, &TPanelButton::clicked, this, &TReNewDlg::PanelButton2Click);

    Label1 = new QLabel(bar);
    Name(Label1, QStringLiteral("Label1"));
    QFont question(QStringLiteral("ＭＳ ゴシック"));
    question.setPixelSize(13);
    question.setBold(true);
    Label1->setFont(question);
    Label1->setGeometry(110, 4, 300, 36);
    Label1->setProperty("tag", 1);
    QPalette black = Label1->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    Label1->setPalette(black);

    StringGrid1 = new QTableWidget(static_cast<int>(rowLabels_.size()) + 2, 3, this);
    Name(StringGrid1, QStringLiteral("StringGrid1"));
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setDefaultSectionSize(kRowHeight);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setSelectionMode(QAbstractItemView::NoSelection);
    StringGrid1->setFocusPolicy(Qt::NoFocus);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    StringGrid1->setItemDelegate(new CompareCellDelegate(this));
    for (int row = 0; row < StringGrid1->rowCount(); ++row)
        for (int column = 0; column < 3; ++column)
            StringGrid1->setItem(row, column, new QTableWidgetItem());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(SunkenLine(this));
    layout->addWidget(bar);
    layout->addWidget(SunkenLine(this));
    layout->addWidget(StringGrid1, 1);

    const int frame = 2 * StringGrid1->frameWidth();
    narrowWidth_ = 3 * kColumnWidth + frame;
    wideWidth_ = narrowWidth_ + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    setMinimumHeight(kMinimumHeight);
    if (heightBounded_)
        setMaximumHeight(FullHeight());
    setFixedWidth(wideWidth_);
    // Every row in sight where the screen has room for them. No position is set:
    // the dialog opens centred on the window that asks.
    resize(wideWidth_, OpeningHeight());

    Timer1 = new QTimer(this);
    Name(Timer1, QStringLiteral("Timer1"));
    Timer1->setInterval(300);
    connect(Timer1, &QTimer::timeout, this, &TReNewDlg::Timer1Timer);
    Timer1->start();
}

int TReNewDlg::FullHeight() const {
    return 2 + kBarHeight + 2 + StringGrid1->rowCount() * kRowHeight +
           2 * StringGrid1->frameWidth();
}

int TReNewDlg::OpeningHeight() const {
    const QScreen* screen =
        parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return FullHeight();
    const int room = screen->availableGeometry().height() - kTitleBarRoom;
    return std::max(kMinimumHeight, std::min(FullHeight(), room));
}

QColor TReNewDlg::RowColour(int row) const {
    if (row == 0)
        return FromColorRef(settings_.FontColor.ValidColor);
    const QTableWidgetItem* stored = StringGrid1->item(row, 1);
    const QTableWidgetItem* fresh = StringGrid1->item(row, 2);
    const bool same = stored != nullptr && fresh != nullptr && stored->text() == fresh->text();
    return FromColorRef(same ? settings_.FontColor.InvalidColor : settings_.FontColor.ValidColor);
}

void TReNewDlg::FillCompareColumn(const QStringList& values, int column) {
    for (int i = 0; i < rowLabels_.size(); ++i)
        StringGrid1->item(i + 2, column)->setText(i < values.size() ? values[i] : QString());
}

void TReNewDlg::FormActivate() {
    QString storedName;
    QStringList stored;
    ReadStored(storedName, stored);
    FillCompareColumn(stored, 1);
    FillCompareColumn(NewValues(), 2);
    Label1->setText(QStringLiteral("従業員番号 ") + id_ +
                    QStringLiteral(" は既に登録されています。\nデータを更新しますか？"));
    for (int column = 0; column < 3; ++column)
        StringGrid1->setColumnWidth(column, kColumnWidth);
    StringGrid1->item(0, 1)->setText(QStringLiteral("登録済データ"));
    StringGrid1->item(0, 2)->setText(QStringLiteral("新しいデータ"));
    StringGrid1->item(1, 0)->setText(QStringLiteral("氏名"));
    StringGrid1->item(1, 1)->setText(storedName);
    StringGrid1->item(1, 2)->setText(newName_);
    for (int i = 0; i < rowLabels_.size(); ++i)
        StringGrid1->item(i + 2, 0)->setText(rowLabels_[i]);
    StringGrid1->viewport()->update();
}

void TReNewDlg::FormResize() {
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

void TReNewDlg::Timer1Timer() {
    int tag = Label1->property("tag").toInt();
    QPalette palette = Label1->palette();
    palette.setColor(QPalette::WindowText, tag % 2 == 1 ? QColor(Qt::black) : QColor(128, 0, 0));
    Label1->setPalette(palette);
    ++tag;
    Label1->setProperty("tag", tag);
    if (tag >= 8)
        Timer1->stop();
}

void TReNewDlg::PanelButton1Click() {
    done(kUpdate);
}

void TReNewDlg::PanelButton2Click() {
    done(kCancel);
}

void TReNewDlg::reject() {
    done(kCancel);
}

bool TReNewDlg::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QDialog::event(event);
}

void TReNewDlg::showEvent(QShowEvent* event) {
    // Filled before the first paint even where the window system never
    // activates the window.
    FormActivate();
    QDialog::showEvent(event);
}

void TReNewDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FormResize();
}

}  // namespace pb
