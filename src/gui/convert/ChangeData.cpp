#include "gui/convert/ChangeData.h"

#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

#include "gui/controls/Pbutton.h"
#include "gui/shared/Guard.h"
#include "gui/shared/Images.h"
#include "gui/shared/MessageOperator.h"
#include "gui/shared/Naming.h"
#include "gui/shared/PanelButtons.h"
#include "gui/shared/Text.h"

namespace pb {

namespace {

constexpr int kIdRole = Qt::UserRole;
constexpr int kNameRole = Qt::UserRole + 1;

std::vector<OldEmployee> Employees(const QListWidget* list) {
    std::vector<OldEmployee> employees;
    for (int i = 0; i < list->count(); ++i) {
        const QListWidgetItem* item = list->item(i);
        employees.push_back(
            {S(item->data(kIdRole).toString()), S(item->data(kNameRole).toString())});
    }
    return employees;
}

void Fill(QListWidget* list, const std::vector<OldEmployee>& employees) {
    list->clear();
    for (const auto& e : employees) {
        auto* item = new QListWidgetItem(Q(e.Item()));
        item->setData(kIdRole, Q(e.ID));
        item->setData(kNameRole, Q(e.Name));
        list->addItem(item);
    }
}

// Moves the selected items, topmost first, until none is left selected.
void MoveSelected(QListWidget* from, QListWidget* to) {
    for (;;) {
        int selected = -1;
        for (int i = 0; i < from->count() && selected < 0; ++i) {
            if (from->item(i)->isSelected())
                selected = i;
        }
        if (selected < 0)
            return;
        QListWidgetItem* item = from->takeItem(selected);
        item->setSelected(false);
        to->addItem(item);
    }
}

void MoveAll(QListWidget* from, QListWidget* to) {
    while (from->count() > 0) {
        QListWidgetItem* item = from->takeItem(0);
        item->setSelected(false);
        to->addItem(item);
    }
}

}  // namespace

TChangeD::TChangeD(const DataFiles& files, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      files_(files) {
    Name(this, QStringLiteral("TChangeD"));
    setWindowTitle(QStringLiteral("データコンバート"));
    setProperty("HelpContext", 5);
    setFixedSize(415, 327);
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    setFont(font);

    auto label = [this](const QString& name, const QString& text, int x, int y) {
        auto* l = new QLabel(text, this);
        Name(l, name);
        l->setGeometry(x, y, 170, 16);
    };
    auto list = [this](const QString& name, int x, int y, int height) {
        auto* l = new QListWidget(this);
        Name(l, name);
        l->setGeometry(x, y, 170, height);
        l->setSortingEnabled(true);
        l->setSelectionMode(QAbstractItemView::MultiSelection);
        return l;
    };
    label(QStringLiteral("Label1"), QStringLiteral("Ver1.x 登録済み従業員"), 8, 6);
    label(QStringLiteral("Label2"), QStringLiteral("Ver2.0 コンバートリスト"), 237, 6);
    label(QStringLiteral("Label3"), QStringLiteral("コンバート完了 従業員"), 8, 180);
    label(QStringLiteral("Label4"), QStringLiteral("コンバート失敗　従業員"), 237, 180);
    ListBox1 = list(QStringLiteral("ListBox1"), 8, 22, 150);
    ListBox2 = list(QStringLiteral("ListBox2"), 237, 22, 150);
    ListBox3 = list(QStringLiteral("ListBox3"), 8, 196, 84);
    ListBox4 = list(QStringLiteral("ListBox4"), 237, 196, 84);

    auto arrow = [this](const QString& name, const QString& text, const QString& hint, int y) {
        auto* b = new QPushButton(text, this);
        Name(b, name);
        b->setToolTip(hint);
        b->setGeometry(186, y, 43, 26);
        return b;
    };
    BitBtn1 =
        arrow(QStringLiteral("BitBtn1"), QStringLiteral("＞"), QStringLiteral("リストに追加"), 36);
    BitBtn3 = arrow(QStringLiteral("BitBtn3"), QStringLiteral("＞＞"),
                    QStringLiteral("全てリストへ追加"), 68);
    BitBtn2 = arrow(QStringLiteral("BitBtn2"), QStringLiteral("＜"),
                    QStringLiteral("リストから削除"), 108);
    BitBtn4 = arrow(QStringLiteral("BitBtn4"), QStringLiteral("＜＜"),
                    QStringLiteral("全てリストから削除"), 140);

    auto panel = [this](const QString& name, const QString& caption, const QString& hint,
                        const QString& glyph, int x) {
        TPanelButton* b = MakePanelButton(this, name, caption, Glyph(glyph), hint, blGlyphLeft);
        b->setGeometry(x, 287, 100, 32);
        return b;
    };
    startButton_ = panel(QStringLiteral("PanelButton1"), QStringLiteral("開始"),
                         QStringLiteral("コンバート開始"), QStringLiteral("Start"), 8);
    restoreButton_ =
        panel(QStringLiteral("PanelButton2"), QStringLiteral("戻す"),
              QStringLiteral("従業員データを１世代戻す"), QStringLiteral("Restore"), 157);
    closeButton_ = panel(QStringLiteral("PanelButton3"), QStringLiteral("終了"),
                         QStringLiteral("コンバートの終了"), QStringLiteral("Exit"), 307);

    connect(BitBtn1, &QPushButton::clicked, this, &TChangeD::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TChangeD::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TChangeD::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TChangeD::BitBtn4Click);
    connect(startButton_, &TPanelButton::clicked, this, &TChangeD::StartClicked);
    connect(restoreButton_, &TPanelButton::clicked, this, &TChangeD::RestoreClicked);
    connect(closeButton_, &TPanelButton::clicked, this, &TChangeD::CloseClicked);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormCreate();
}

void TChangeD::FormCreate() {
    std::vector<OldEmployee> old;
    Guarded(this, [&] { LoadOldEmployeeList(files_, old); });
    Fill(ListBox1, old);
    startButton_->setEnabled(ListBox1->count() > 0);
}

void TChangeD::BitBtn1Click() {
    MoveSelected(ListBox1, ListBox2);
}
void TChangeD::BitBtn2Click() {
    MoveSelected(ListBox2, ListBox1);
}
void TChangeD::BitBtn3Click() {
    MoveAll(ListBox1, ListBox2);
}
void TChangeD::BitBtn4Click() {
    MoveAll(ListBox2, ListBox1);
}

ConversionLists TChangeD::Lists() const {
    return {Employees(ListBox1), Employees(ListBox2), Employees(ListBox3), Employees(ListBox4)};
}

void TChangeD::Show(const ConversionLists& lists) {
    Fill(ListBox1, lists.Old);
    Fill(ListBox2, lists.Chosen);
    Fill(ListBox3, lists.Done);
    Fill(ListBox4, lists.Refused);
    startButton_->setEnabled(ListBox1->count() > 0);
}

void TChangeD::StartClicked() {
    ConversionLists lists = Lists();
    MessageOperator op(this);
    Guarded(op, [&] { RunConversion(files_, lists, op); });
    filesChanged_ = true;
    Show(lists);
}

void TChangeD::RestoreClicked() {
    ConversionLists lists = Lists();
    MessageOperator op(this);
    Guarded(op, [&] { RestoreBackups(files_, lists, op); });
    filesChanged_ = true;
    Show(lists);
}

void TChangeD::CloseClicked() {
    accept();
}

}  // namespace pb
