#include "gui/app/MainFrom.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QDate>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QStringListModel>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <memory>
#include <optional>
#include <set>

#include "core/check/FolderCheck.h"
#include "core/store/DailyBackup.h"
#include "core/store/DataFolder.h"
#include "core/store/EmployeeFiles.h"
#include "core/store/WorkDataFiles.h"
#include "core/timecard/PayPeriod.h"
#include "gui/app/Versin.h"
#include "gui/controls/Pbutton.h"
#include "gui/convert/ChangeData.h"
#include "gui/employees/InputDailyWages.h"
#include "gui/employees/InputTimeWages.h"
#include "gui/employees/ReNewConfirmer.h"
#include "gui/employees/ViewRegistData.h"
#include "gui/files/CheckDialog.h"
#include "gui/files/ExportDialog.h"
#include "gui/files/ImportDialog.h"
#include "gui/files/RestoreDialog.h"
#include "gui/shared/Colors.h"
#include "gui/shared/DropDown.h"
#include "gui/shared/Guard.h"
#include "gui/shared/Help.h"
#include "gui/shared/Images.h"
#include "gui/shared/MessageOperator.h"
#include "gui/shared/Messages.h"
#include "gui/shared/Naming.h"
#include "gui/shared/PanelButtons.h"
#include "gui/shared/Text.h"
#include "gui/timecard/Calc_SetUp.h"
#include "gui/timecard/InputWork.h"

namespace pb {

namespace {

constexpr int kToolbarHeight = 44;
constexpr int kPanelHeight = 44;
constexpr int kMinWidth = 480;
constexpr int kMinHeight = 470;
constexpr int kDailyWidth = 660;
constexpr int kHourlyWidth = 725;

const QString kNoDataHint = QStringLiteral("登録されたデータは有りません");
const QString kDataHint = QStringLiteral("登録されたデータが有ります");
const QString kShowPanelHint = QStringLiteral("入力データ選択パネル表示");
const QString kHidePanelHint = QStringLiteral("入力データ選択パネル消去");

// Two icon names are the same icon when their first characters agree.
bool SameIcon(const QString& a, const QString& b) {
    return !a.isEmpty() && !b.isEmpty() && a.front() == b.front();
}

// "Name.dat、1999_fv2.pbk".
std::string JoinNames(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names)
        joined += (joined.empty() ? "" : "、") + name;
    return joined;
}

// A year the operator typed: four digits below 2999. Shorter numbers would
// name a work-data file whose year the folder scan cannot read back.
std::optional<int> TypedYear(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.size() != 4)
        return std::nullopt;
    for (QChar c : trimmed)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    const int year = trimmed.toInt();
    if (year < 1000 || year >= 2999)
        return std::nullopt;
    return year;
}

}  // namespace

TMainFrom::TMainFrom(const QString& programFolder, FileSystem& fs, QWidget* parent)
    : QMainWindow(parent), fs_(fs), noDataIcon_(QStringLiteral("1_ICON")) {
    Name(this, QStringLiteral("TMainFrom"));
    setProperty("HelpContext", 2);
    setAttribute(Qt::WA_DeleteOnClose, false);

    programFolder_ = programFolder;
    if (!programFolder_.endsWith(QLatin1Char('/')))
        programFolder_ += QLatin1Char('/');

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    BuildToolbar();
    BuildSelectionPanel();
    clientArea_ = new QMdiArea(central);
    Name(clientArea_, QStringLiteral("ClientArea"));
    firstSteps_ = new QLabel(
        QStringLiteral("従業員が登録されていません。\n\n"
                       "まず、ツールバーの［登録 (日給制)］または［登録 (時給制)］で\n"
                       "従業員を登録して下さい。登録すると［入力］で勤務データを入力できます。"),
        clientArea_->viewport());
    Name(firstSteps_, QStringLiteral("FirstStepsLabel"));
    firstSteps_->setAlignment(Qt::AlignCenter);
    firstSteps_->setWordWrap(true);
    firstSteps_->hide();
    clientArea_->viewport()->installEventFilter(this);
    column->addWidget(toolPanel_);
    column->addWidget(selectionPanel_);
    column->addWidget(clientArea_, 1);
    setCentralWidget(central);
    BuildMenu();

    Timer1 = new QTimer(this);
    Name(Timer1, QStringLiteral("Timer1"));
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, &TMainFrom::Timer1Timer);

    // Creation, in the order the rest of the program relies on.
    settings_.ProgramFolder = S(programFolder_);
    ReadSettings(fs_, settings_, GrayTextColorRef());
    files_ = AssignDataFiles(settings_.ProgramFolder, fs_);
    // Before the first change of each day the data files are backed up. When
    // that fails the operator may still save: losing the day's backup is
    // better than losing the typed month, and the box says what is at stake.
    files_.backup->keepDays = settings_.Backup.KeepDays;
    files_.backup->goOnWithout = [this](const std::string& failure) {
        QWidget* over = QApplication::activeModalWidget() != nullptr
                            ? QApplication::activeModalWidget()
                            : static_cast<QWidget*>(this);
        return Messages::Ask(
                   over, Messages::Kind::Warning,
                   Q(failure) + QStringLiteral("\n\nバックアップを作らずに変更を続けますか？\n"
                                               "（いいえ: 変更を取りやめます）"),
                   Messages::Yes | Messages::No, Messages::No) == Messages::Yes;
    };
    files_.NextCellFile =
        NextCellFileFor(fs_, files_.Folder, S(QCoreApplication::applicationDirPath()));
    // The help window opens where the operator last left it, in this run or an
    // earlier one; a read-only copy remembers it for the run only.
    KeepHelpPlace(
        this,
        [this] {
            const HelpSettings& help = settings_.Help;
            return help.Width > 0 && help.Height > 0
                       ? QRect(help.Left, help.Top, help.Width, help.Height)
                       : QRect();
        },
        [this](const QRect& place) {
            const HelpSettings now{place.left(), place.top(), place.width(), place.height()};
            if (now == settings_.Help)
                return;
            settings_.Help = now;
            if (!readOnly_)
                Guarded(this, [this] { WriteSettings(fs_, settings_); });
        });
    ColourToolbarLabels();
    monthIcon_ = noDataIcon_;
    // One listing of the folder for every file asked about here.
    const QStringList entries = ProgramFolderEntries();
    UpdateDataConvertItem(entries);
    const bool salarium = !SalariumProgram(entries).isEmpty();
    PanelButton11->setEnabled(salarium);
    salariumItem_->setEnabled(salarium);
    UpdateInputButton(entries);
    setWindowTitle(QStringLiteral("Punchbook 2.0"));
    ShowIcon(noDataIcon_);
    FillYearList();
    ComboBox4->setCurrentIndex(0);
    ComboBox4Change();

    setMinimumSize(kMinWidth, kMinHeight);
    setMaximumWidth(mainWidth_);
    resize(544, 452);  // the lower limit then takes the height to 470
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    Timer1->start();
}

TMainFrom::~TMainFrom() = default;

// --- building -------------------------------------------------------------

namespace {
TPanelButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                         const QString& hint, const QString& glyph) {
    TPanelButton* button = MakePanelButton(parent, name, caption, Glyph(glyph), hint);
    button->setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    return button;
}
}  // namespace

void TMainFrom::BuildToolbar() {
    toolPanel_ = new QWidget(this);
    Name(toolPanel_, QStringLiteral("ToolPanel"));
    toolPanel_->setFixedHeight(kToolbarHeight);
    toolPanel_->installEventFilter(this);

    struct ToolButton {
        TPanelButton** field;
        const char* name;
        const char* caption;
        const char* hint;
        const char* glyph;
        void (TMainFrom::*click)();
    };
    const ToolButton tools[] = {
        {&PanelButton12, "PanelButton12", "終了", "PBookの終了", "Exit",
         &TMainFrom::PanelButton12Click},
        {&PanelButton1, "PanelButton1", "登録", "日給制", "DailyWages",
         &TMainFrom::PanelButton1Click},
        {&PanelButton2, "PanelButton2", "登録", "時給制", "TimeWages",
         &TMainFrom::PanelButton2Click},
        {&PanelButton3, "PanelButton3", "入力", "入力データ選択パネル表示", "Input",
         &TMainFrom::PanelButton3Click},
        {&PanelButton4, "PanelButton4", "設定", "計算方法", "Settings",
         &TMainFrom::PanelButton4Click},
        {&PanelButton5, "PanelButton5", "表示", "従業員情報", "View",
         &TMainFrom::PanelButton5Click},
        {&PanelButton11, "PanelButton11", "", "Salarium起動", "Salarium",
         &TMainFrom::PanelButton11Click},
    };
    int x = 2;
    for (const ToolButton& tool : tools) {
        TPanelButton* button =
            MakeButton(toolPanel_, QString::fromUtf8(tool.name), QString::fromUtf8(tool.caption),
                       QString::fromUtf8(tool.hint), QString::fromUtf8(tool.glyph));
        button->setGeometry(x, 2, 44, 40);
        x += 45;
        connect(button, &TPanelButton::clicked, this, tool.click);
        *tool.field = button;
    }

    validLabel_ = new QLabel(QStringLiteral("有効フォント色"), toolPanel_);
    Name(validLabel_, QStringLiteral("ValidColorLabel"));
    invalidLabel_ = new QLabel(QStringLiteral("無効フォント色"), toolPanel_);
    Name(invalidLabel_, QStringLiteral("InvalidColorLabel"));
    for (QLabel* label : {validLabel_, invalidLabel_}) {
        label->setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
        label->adjustSize();
    }
}

void TMainFrom::BuildSelectionPanel() {
    selectionPanel_ = new QWidget(this);
    Name(selectionPanel_, QStringLiteral("SelectionPanel"));
    selectionPanel_->setFixedHeight(kPanelHeight);
    selectionPanel_->setVisible(false);
    selectionPanel_->installEventFilter(this);

    auto caption = [this](const QString& text, int x) {
        auto* label = new QLabel(text, selectionPanel_);
        label->move(x, 1);
        label->adjustSize();
        return label;
    };
    QLabel* ComboBox4Caption = caption(QStringLiteral("給料区分"), 4);
    ComboBox4 = new QComboBox(selectionPanel_);
    Name(ComboBox4, QStringLiteral("ComboBox4"));
    ComboBox4->addItems({QStringLiteral("日給制"), QStringLiteral("時給制")});
    ComboBox4->setGeometry(4, 18, 68, 22);

    QLabel* ComboBox1Caption = caption(QStringLiteral("ＩＤ"), 75);
    ComboBox1 = new QComboBox(selectionPanel_);
    Name(ComboBox1, QStringLiteral("ComboBox1"));
    // A list of texts: filled in one step, without an item object for each ID.
    idList_ = new QStringListModel(ComboBox1);
    ComboBox1->setModel(idList_);
    ComboBox1->setGeometry(75, 18, 52, 22);

    QLabel* NameEditCaption = caption(QStringLiteral("氏名"), 130);
    NameEdit = new QLineEdit(selectionPanel_);
    Name(NameEdit, QStringLiteral("NameEdit"));
    NameEdit->setReadOnly(true);
    NameEdit->setFocusPolicy(Qt::NoFocus);  // the focus goes on to ComboBox1
    NameEdit->setGeometry(130, 18, 100, 22);

    QLabel* ComboBox2Caption = caption(QStringLiteral("年度"), 233);
    ComboBox2 = new QComboBox(selectionPanel_);
    Name(ComboBox2, QStringLiteral("ComboBox2"));
    ComboBox2->setEditable(true);
    RoomyRows(ComboBox2);
    ComboBox2->setInsertPolicy(QComboBox::NoInsert);
    ComboBox2->setGeometry(233, 18, 62, 22);
    ComboBox2->installEventFilter(this);
    ComboBox2->lineEdit()->installEventFilter(this);

    QLabel* ComboBox3Caption = caption(QStringLiteral("月"), 298);
    ComboBox3 = new QComboBox(selectionPanel_);
    Name(ComboBox3, QStringLiteral("ComboBox3"));
    for (int month = 1; month <= 12; ++month)
        ComboBox3->addItem(QStringLiteral("%1月").arg(month, 2, 10, QLatin1Char(' ')));
    ComboBox3->setGeometry(298, 18, 56, 22);
    // The captions above the boxes are their names for screen readers (drop-down
    // lists are announced by their value, with the caption as their label).
    for (auto [label, box] : {std::pair<QLabel*, QWidget*>{ComboBox4Caption, ComboBox4},
                              {ComboBox1Caption, ComboBox1},
                              {NameEditCaption, NameEdit},
                              {ComboBox2Caption, ComboBox2},
                              {ComboBox3Caption, ComboBox3}})
        label->setBuddy(box);
    NameAfter(ComboBox4, {QStringLiteral("給料区分")});
    NameAfter(ComboBox1, {QStringLiteral("ＩＤ")});
    NameAfter(NameEdit, {QStringLiteral("氏名")});
    NameAfter(ComboBox2, {QStringLiteral("年度")});
    NameAfter(ComboBox3, {QStringLiteral("月")});

    Image1 = new QLabel(selectionPanel_);
    Name(Image1, QStringLiteral("Image1"));
    Image1->setGeometry(358, 6, 32, 32);
    Image1->setToolTip(kNoDataHint);

    PanelButton10 =
        MakeButton(selectionPanel_, QStringLiteral("PanelButton10"), QStringLiteral("開始"),
                   QStringLiteral("入力開始"), QStringLiteral("Start"));
    PanelButton8 =
        MakeButton(selectionPanel_, QStringLiteral("PanelButton8"), QStringLiteral("削除"),
                   QStringLiteral("入力勤務データの削除"), QStringLiteral("Delete"));
    for (TPanelButton* button : {PanelButton10, PanelButton8}) {
        button->resize(44, 40);
        button->move(button->x(), 2);
        // Reached with Tab after the month and pressed with Space or Enter.
        button->setFocusPolicy(Qt::TabFocus);
    }
    connect(PanelButton10, &TPanelButton::clicked, this, &TMainFrom::PanelButton10Click);
    connect(PanelButton8, &TPanelButton::clicked, this, &TMainFrom::PanelButton8Click);
    PanelButton8->setEnabled(false);

    setTabOrder(ComboBox4, ComboBox1);
    setTabOrder(ComboBox1, ComboBox2);
    setTabOrder(ComboBox2, ComboBox3);
    setTabOrder(ComboBox3, PanelButton10);
    setTabOrder(PanelButton10, PanelButton8);

    connect(ComboBox4, &QComboBox::currentIndexChanged, this, &TMainFrom::ComboBox4Change);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TMainFrom::ComboBox1Change);
    connect(ComboBox2, &QComboBox::currentIndexChanged, this, &TMainFrom::ComboBox2Change);
    connect(ComboBox3, &QComboBox::currentIndexChanged, this, &TMainFrom::ComboBox3Change);
}

void TMainFrom::BuildMenu() {
    QMenuBar* bar = menuBar();
    auto item = [this](QMenu* menu, const QString& name, const QString& text,
                       void (TMainFrom::*slot)()) {
        QAction* action = menu->addAction(text);
        Name(action, name);
        if (slot != nullptr)
            connect(action, &QAction::triggered, this, slot);
        return action;
    };

    fileMenu_ = bar->addMenu(QStringLiteral("ファイル(&F)"));
    Name(fileMenu_, QStringLiteral("FileMenu"));
    dataConvertItem_ = item(fileMenu_, QStringLiteral("DataConvertItem"),
                            QStringLiteral("データコンバート"), &TMainFrom::DataConvertClick);
    item(fileMenu_, QStringLiteral("OpenDataFolderItem"), QStringLiteral("データフォルダを開く"),
         &TMainFrom::OpenDataFolderClick);
    fileMenu_->addSeparator();
    exportItem_ = item(fileMenu_, QStringLiteral("ExportItem"),
                       QStringLiteral("エクスポート(&E)..."), &TMainFrom::ExportClick);
    importItem_ = item(fileMenu_, QStringLiteral("ImportItem"),
                       QStringLiteral("勤務データの取り込み(&I)..."), &TMainFrom::ImportClick);
    restoreItem_ =
        item(fileMenu_, QStringLiteral("RestoreBackupItem"),
             QStringLiteral("バックアップから復元(&R)..."), &TMainFrom::RestoreBackupClick);
    item(fileMenu_, QStringLiteral("CheckFolderItem"), QStringLiteral("データの検査(&K)"),
         &TMainFrom::CheckFolderClick);
    fileMenu_->addSeparator();
    item(fileMenu_, QStringLiteral("ExitItem"), QStringLiteral("終了(&X)"),
         &TMainFrom::PanelButton12Click);
    connect(fileMenu_, &QMenu::aboutToShow, this,
            [this] { UpdateDataConvertItem(ProgramFolderEntries()); });

    QMenu* view = bar->addMenu(QStringLiteral("表示(&V)"));
    Name(view, QStringLiteral("ViewMenu"));
    viewerItem_ = item(view, QStringLiteral("ViewerItem"), QStringLiteral("従業員情報"),
                       &TMainFrom::PanelButton5Click);
    selectionPanelItem_ =
        item(view, QStringLiteral("SelectionPanelItem"), QStringLiteral("勤務データ選択パネル"),
             &TMainFrom::PanelButton3Click);
    selectionPanelItem_->setCheckable(true);
    startItem_ = item(view, QStringLiteral("StartItem"), QStringLiteral("入力開始"),
                      &TMainFrom::PanelButton10Click);
    deleteMonthItem_ = item(view, QStringLiteral("DeleteMonthItem"),
                            QStringLiteral("入力勤務データの削除"), &TMainFrom::PanelButton8Click);
    // The panel's two commands, enabled with their buttons.
    for (auto [button, action] :
         {std::pair{PanelButton10, startItem_}, std::pair{PanelButton8, deleteMonthItem_}}) {
        action->setEnabled(button->isEnabled());
        button->installEventFilter(this);
    }

    QMenu* entry = bar->addMenu(QStringLiteral("登録(&R)"));
    Name(entry, QStringLiteral("RegisterMenu"));
    dailyItem_ = item(entry, QStringLiteral("DailyWagesItem"), QStringLiteral("日給制従業員"),
                      &TMainFrom::PanelButton1Click);
    hourlyItem_ = item(entry, QStringLiteral("TimeWagesItem"), QStringLiteral("時給制従業員"),
                       &TMainFrom::PanelButton2Click);

    QMenu* options = bar->addMenu(QStringLiteral("オプション(&O)"));
    Name(options, QStringLiteral("OptionsMenu"));
    salariumItem_ = item(options, QStringLiteral("SalariumItem"), QStringLiteral("Salarium"),
                         &TMainFrom::PanelButton11Click);
    calcItem_ = item(options, QStringLiteral("CalcSettingsItem"), QStringLiteral("計算設定"),
                     &TMainFrom::PanelButton4Click);
    QMenu* colours = options->addMenu(QStringLiteral("フォント色(&C)"));
    Name(colours, QStringLiteral("FontColorMenu"));
    item(colours, QStringLiteral("ValidColorItem"), QStringLiteral("有効色"),
         &TMainFrom::ValidColorClick);
    item(colours, QStringLiteral("InvalidColorItem"), QStringLiteral("無効色"),
         &TMainFrom::InvalidColorClick);

    windowMenu_ = bar->addMenu(QStringLiteral("ウィンドウ(&W)"));
    Name(windowMenu_, QStringLiteral("WindowMenu"));
    minimizeAllItem_ = item(windowMenu_, QStringLiteral("MinimizeAllItem"),
                            QStringLiteral("すべてをアイコン化"), &TMainFrom::MinimizeAllClick);
    connect(windowMenu_, &QMenu::aboutToShow, this, &TMainFrom::FillWindowMenu);

    QMenu* help = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
    Name(help, QStringLiteral("HelpMenu"));
    item(help, QStringLiteral("HelpContentsItem"), QStringLiteral("目次"),
         &TMainFrom::HelpContentsClick);
    help->addSeparator();
    item(help, QStringLiteral("VersionItem"), QStringLiteral("バージョン情報"),
         &TMainFrom::VersionClick);
}

// --- state of the selection ------------------------------------------------

int TMainFrom::SelectedScheme() const {
    return ComboBox4->currentIndex() + 1;
}

QString TMainFrom::SelectedID() const {
    return ComboBox1->currentIndex() >= 0 ? ComboBox1->itemText(ComboBox1->currentIndex())
                                          : QString();
}

QString TMainFrom::SelectedYear() const {
    return ComboBox2->currentIndex() >= 0 ? ComboBox2->itemText(ComboBox2->currentIndex())
                                          : QString();
}

int TMainFrom::SelectedMonth() const {
    QString digits;
    for (QChar c : ComboBox3->currentText())
        if (c.isDigit())
            digits += c;
    return digits.toInt();
}

void TMainFrom::SetMainWidth(int width, bool resizeWindow) {
    mainWidth_ = width;
    setMaximumWidth(std::max(width, kMinWidth));
    if (resizeWindow)
        resize(width, height());
}

void TMainFrom::FillYearList() {
    const QSignalBlocker blocker(ComboBox2);
    ComboBox2->clear();
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
        ComboBox2->addItem(year);
    ComboBox2->setCurrentIndex(0);
    UpdateMonthState();
    IndexSelectedYearWhenIdle();
}

void TMainFrom::UpdateInputButton() {
    UpdateInputButton(ProgramFolderEntries());
}

void TMainFrom::UpdateInputButton(const QStringList& entries) {
    const bool data = !FindIn(entries, QStringLiteral("TimeWages.dat")).isEmpty() ||
                      !FindIn(entries, QStringLiteral("DailyWages.dat")).isEmpty();
    PanelButton3->setEnabled(data);
    selectionPanelItem_->setEnabled(data);
    exportItem_->setEnabled(data);
    firstSteps_->setVisible(!data);
}

void TMainFrom::UpdateMonthState() {
    bool stored = false;
    const QString year = SelectedYear();
    const QString id = SelectedID();
    // Without an employee nothing is stored; a look would read the whole year.
    if (!year.isEmpty() && !id.isEmpty()) {
        Guarded(this, [&] {
            stored = FindMonthIndex(files_, S(id), year.toInt(), SelectedMonth()) >= 0;
        });
    }
    monthIcon_ = stored ? QStringLiteral("2_ICON") : noDataIcon_;
    PanelButton8->setEnabled(stored && !readOnly_);
}

void TMainFrom::ComboBox4Change() {
    const QSignalBlocker blocker(ComboBox1);
    NameEdit->clear();
    QStringList items;
    Guarded(this, [&] {
        std::vector<std::string> ids;
        ListEmployeeIDs(files_, ids, SelectedScheme());
        // Sorted, as the list shows them; the file keeps the order of registration.
        std::sort(ids.begin(), ids.end());
        items.reserve(static_cast<qsizetype>(ids.size()));
        for (const std::string& id : ids)
            items << Q(id);
    });
    idList_->setStringList(items);
    ComboBox1->setCurrentIndex(ComboBox1->count() > 0 ? 0 : -1);
    {
        // One month-state update for the whole change, below.
        const QSignalBlocker years(ComboBox2);
        const QSignalBlocker months(ComboBox3);
        ComboBox2->setCurrentIndex(ComboBox2->count() > 0 ? 0 : -1);
        ComboBox3->setCurrentIndex(0);
    }
    ComboBox1Change();
}

void TMainFrom::ComboBox1Change() {
    QString name;
    const QString id = SelectedID();
    if (!id.isEmpty()) {
        Guarded(this, [&] { name = Q(FindEmployeeName(files_, S(id), SelectedScheme())); });
    }
    NameEdit->setText(name);
    PanelButton10->setEnabled(!name.isEmpty());
    UpdateMonthState();
}

void TMainFrom::ComboBox2Change() {
    UpdateMonthState();
    IndexSelectedYearWhenIdle();
}

void TMainFrom::IndexSelectedYearWhenIdle() {
    // Before the first paint the warm-up does it.
    if (!painted_)
        return;
    QTimer::singleShot(0, this, [this] {
        const QString year = SelectedYear();
        if (year.isEmpty())
            return;
        try {
            IndexYear(files_, year.toInt());
        } catch (const std::exception&) {
            // The next look at the year reports what fails.
        }
    });
}

void TMainFrom::ComboBox3Change() {
    UpdateMonthState();
}

bool TMainFrom::ComboBox2Exit() {
    const std::optional<int> year = TypedYear(ComboBox2->currentText());
    if (!year) {
        // Not taken over: the box shows the year in force again, so it never
        // shows a year other than the one 開始 would open.
        const bool typed = ComboBox2->currentText() != SelectedYear();
        ComboBox2->setEditText(SelectedYear());
        return !typed;
    }
    const QString text = QString::number(*year);
    int index = ComboBox2->findText(text);
    if (index < 0) {
        // The list stays sorted; four-digit years sort as texts.
        index = 0;
        while (index < ComboBox2->count() && ComboBox2->itemText(index) < text)
            ++index;
        const QSignalBlocker blocker(ComboBox2);
        ComboBox2->insertItem(index, text);
    }
    ComboBox2->setCurrentIndex(index);
    ComboBox2->setEditText(text);
    UpdateMonthState();
    IndexSelectedYearWhenIdle();
    return true;
}

bool TMainFrom::event(QEvent* event) {
    if (event->type() == QEvent::Paint && !painted_) {
        painted_ = true;
        QTimer::singleShot(0, this, &TMainFrom::WarmUp);
    }
    return QMainWindow::event(event);
}

// Once the main window is on screen and the operator reads it, the first entry
// window's fonts, pictures and drawing are made ready by painting an empty
// month off screen: the first 開始 then costs what the later ones do.
void TMainFrom::WarmUp() {
    IndexSelectedYearWhenIdle();
    PreparePictures();
    try {
        // An empty daily month of nobody, never shown and never saved: the core
        // opens no month without an employee and a wage record.
        OpenedMonth blank;
        blank.year = QDate::currentDate().year();
        blank.month = 1;
        blank.input.rules = settings_.Calc_Set;
        blank.input.period = MakePayPeriod(blank.year, blank.month, 0, 1);
        blank.input.daily.WorkType = 7;
        const auto frame = std::make_unique<QMdiSubWindow>();
        frame->setWidget(new TInputW(std::move(blank), files_, settings_));
        frame->resize(clientArea_->size());
        QImage canvas(frame->size(), QImage::Format_ARGB32_Premultiplied);
        frame->render(&canvas);
    } catch (const std::exception&) {
        // Nothing is lost: the first real entry window reports what fails.
    }
}

bool TMainFrom::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && (watched == toolPanel_ || watched == selectionPanel_))
        LayOutRightAligned();
    if (event->type() == QEvent::Resize && clientArea_ != nullptr &&
        watched == clientArea_->viewport())
        firstSteps_->setGeometry(clientArea_->viewport()->rect().adjusted(20, 20, -20, -20));
    if (event->type() == QEvent::EnabledChange && startItem_ != nullptr) {
        if (watched == PanelButton10)
            startItem_->setEnabled(PanelButton10->isEnabled());
        else if (watched == PanelButton8)
            deleteMonthItem_->setEnabled(PanelButton8->isEnabled());
    }
    if (watched == ComboBox2 || (ComboBox2 != nullptr && watched == ComboBox2->lineEdit())) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                ComboBox2Exit();
                return true;  // consumed
            }
        } else if (event->type() == QEvent::FocusOut) {
            ComboBox2Exit();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainFrom::ShowIcon(const QString& name) {
    Image1->setPixmap(NamedIcon(name));
}

void TMainFrom::Timer1Timer() {
    if (SameIcon(monthIcon_, noDataIcon_) && blink_ != 2) {
        Image1->setToolTip(kNoDataHint);
        return;
    }
    ShowIcon(blink_ == 2 ? noDataIcon_ : monthIcon_);
    blink_ = 3 - blink_;
    Image1->setToolTip(kDataHint);
}

// --- commands -------------------------------------------------------------

void TMainFrom::PanelButton12Click() {
    close();
}

void TMainFrom::PanelButton1Click() {
    OpenDailyWagesForm();
    UpdateInputButton();
    ComboBox4Change();
}

void TMainFrom::PanelButton2Click() {
    OpenTimeWagesForm();
    UpdateInputButton();
    ComboBox4Change();
}

void TMainFrom::ShowSelectionPanel(bool visible) {
    selectionPanel_->setVisible(visible);
    // Shown, the panel takes the keyboard: the pay scheme comes first.
    if (visible)
        ComboBox4->setFocus(Qt::OtherFocusReason);
    selectionPanelItem_->setChecked(visible);
    PanelButton3->setHint(visible ? kHidePanelHint : kShowPanelHint);
}

void TMainFrom::PanelButton3Click() {
    ShowSelectionPanel(!selectionPanel_->isVisibleTo(this));
}

void TMainFrom::PanelButton4Click() {
    OpenCalcSettings();
}

void TMainFrom::PanelButton5Click() {
    OpenEmployeeViewer();
}

void TMainFrom::PanelButton11Click() {
    const QString program = SalariumProgram(ProgramFolderEntries());
    if (program.isEmpty())
        return;
    if (!QProcess::startDetached(program, {}, programFolder_))
        Messages::Error(this, QStringLiteral("Salarium を起動できません。\n%1")
                                  .arg(QDir::toNativeSeparators(program)));
}

void TMainFrom::PanelButton10Click() {
    // A year typed without Enter is taken over, or refused, before anything
    // opens: the window opened is always the year the box shows.
    if (!ComboBox2Exit() || ComboBox2->currentIndex() < 0) {
        Messages::Information(this, QStringLiteral("入力年度が不正です。"));
        return;
    }
    ShowSelectionPanel(false);
    entryKey_ = QString::number(SelectedScheme()) + SelectedID() + SelectedYear() +
                QStringLiteral("%1").arg(SelectedMonth(), 2, 10, QLatin1Char('0'));
    newMonthFlag_ = SameIcon(monthIcon_, noDataIcon_);

    QMdiSubWindow* found = nullptr;
    for (QMdiSubWindow* child : clientArea_->subWindowList()) {
        const auto* entry = qobject_cast<const TInputW*>(child->widget());
        if (entry != nullptr && entry->EntryKey() == entryKey_)
            found = child;
    }

    const int width = SelectedScheme() == 1 ? kDailyWidth : kHourlyWidth;
    if (found != nullptr) {
        SetMainWidth(width, true);
        clientArea_->setActiveSubWindow(found);
        // Entry windows live maximised: only a minimised one is restored.
        if (found->isMinimized())
            found->showMaximized();
        found->raise();
        return;
    }
    OpenEntryWindow(width);
}

void TMainFrom::PanelButton8Click() {
    if (SameIcon(monthIcon_, noDataIcon_))
        return;
    const QString id = SelectedID();
    const QString year = SelectedYear();
    const QString question = QStringLiteral("従業員番号 ") + id + QStringLiteral(" の ") + year +
                             QStringLiteral(" 年 ") + ComboBox3->currentText() +
                             QStringLiteral(" のデータを削除しますか？");
    if (!Messages::Confirm(this, question))
        return;
    // The month's entry window would go on showing the times as stored: it
    // closes first, asking about its unsaved edits as it always does. A window
    // that stays open (its save failed) keeps the month.
    for (QMdiSubWindow* child : clientArea_->subWindowList()) {
        const auto* entry = qobject_cast<const TInputW*>(child->widget());
        if (entry == nullptr || entry->Opened().id != S(id) ||
            entry->Opened().year != year.toInt() || entry->Opened().month != SelectedMonth())
            continue;
        if (!child->close())
            return;
    }
    Guarded(this, [&] {
        MessageOperator op(this);
        PurgeMonthRecords(files_, S(id), year.toInt(), SelectedMonth(), op);
    });
    UpdateMonthState();
    FillYearList();
}

bool TMainFrom::PickFontColor(bool valid) {
    std::int32_t& field = valid ? settings_.FontColor.ValidColor : settings_.FontColor.InvalidColor;
    const QColor current = FromColorRef(field);
    QColorDialog dialog(current, this);
    dialog.setObjectName(QStringLiteral("FontColorDialog"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const std::int32_t chosen = ToColorRef(dialog.selectedColor());
    field = chosen;
    ColourToolbarLabels();
    Guarded(this, [&] { WriteSettings(fs_, settings_); });
    // Every window draws with these colours: repaint them all now.
    emit FontColorsChanged();
    for (QWidget* widget : QApplication::allWidgets())
        widget->update();
    return true;
}

void TMainFrom::ValidColorClick() {
    PickFontColor(true);
}

void TMainFrom::InvalidColorClick() {
    PickFontColor(false);
}

void TMainFrom::ColourToolbarLabels() {
    const std::pair<QLabel*, std::int32_t> labels[] = {
        {validLabel_, settings_.FontColor.ValidColor},
        {invalidLabel_, settings_.FontColor.InvalidColor},
    };
    for (const auto& [label, value] : labels) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, FromColorRef(value));
        label->setPalette(palette);
    }
}

void TMainFrom::MinimizeAllClick() {
    const QList<QMdiSubWindow*> children = clientArea_->subWindowList();
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        (*it)->showMinimized();
}

void TMainFrom::FillWindowMenu() {
    for (QAction* action : windowMenu_->actions())
        if (action != minimizeAllItem_) {
            windowMenu_->removeAction(action);
            action->deleteLater();
        }
    const QList<QMdiSubWindow*> children = clientArea_->subWindowList();
    minimizeAllItem_->setEnabled(!children.isEmpty());
    if (children.isEmpty())
        return;
    windowMenu_->addSeparator();
    int number = 1;
    for (QMdiSubWindow* child : children) {
        QAction* action = windowMenu_->addAction(
            QStringLiteral("&%1 %2").arg(number++).arg(child->windowTitle()));
        action->setCheckable(true);
        action->setChecked(child == clientArea_->activeSubWindow());
        connect(action, &QAction::triggered, clientArea_,
                [this, child] { clientArea_->setActiveSubWindow(child); });
    }
}

void TMainFrom::UpdateDataConvertItem(const QStringList& entries) {
    const bool oldFiles = !FindIn(entries, QStringLiteral("HIREDATA.DAT")).isEmpty() ||
                          !FindIn(entries, QStringLiteral("HIREDATA.CBF")).isEmpty();
    dataConvertItem_->setEnabled(oldFiles && !readOnly_);
}

void TMainFrom::HelpContentsClick() {
    ShowHelp(this, 0);
}

void TMainFrom::OpenDataFolderClick() {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(programFolder_)))
        Messages::Information(this, QStringLiteral("データフォルダを開けません。\n%1")
                                        .arg(QDir::toNativeSeparators(programFolder_)));
}

void TMainFrom::VersionClick() {
    TVersin dialog(programFolder_, this);
    dialog.exec();
}

void TMainFrom::DataConvertClick() {
    UpdateDataConvertItem(ProgramFolderEntries());
    if (dataConvertItem_->isEnabled())
        OpenDataConversion();
}

TInputW* TMainFrom::CurrentEntryWindow() const {
    const QList<QMdiSubWindow*> children =
        clientArea_->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        if (auto* entry = qobject_cast<TInputW*>((*it)->widget()))
            return entry;
    return nullptr;
}

void TMainFrom::ExportClick() {
    ExportStart start;
    start.scheme = SelectedScheme();
    start.id = S(SelectedID());
    start.year = SelectedYear().isEmpty() ? QDate::currentDate().year() : SelectedYear().toInt();
    start.month = SelectedMonth();
    for (int i = 0; i < ComboBox2->count(); ++i)
        start.years << ComboBox2->itemText(i);
    if (const TInputW* entry = CurrentEntryWindow()) {
        const OpenedMonth& month = entry->Opened();
        start.entryId = month.id;
        start.entryYear = month.year;
        start.entryMonth = month.month;
        start.entryTitle = QStringLiteral("%1 %2　%3年%4月分")
                               .arg(Q(month.id), Q(month.name))
                               .arg(month.year)
                               .arg(month.month);
        start.entryModified = entry->Modified();
    }
    TExportD dialog(
        {files_, settings_.Calc_Set, RealFileSystem(), &TExportD::ChooseFile, exportFolder_}, start,
        this);
    dialog.exec();
}

void TMainFrom::ImportClick() {
    if (readOnly_)
        return;
    // A window of a month the import writes would go on showing the times as
    // they were: it closes first, asking about its unsaved edits.
    const auto closeWindows = [this](const std::vector<ImportMonth>& months) {
        for (QMdiSubWindow* child : clientArea_->subWindowList()) {
            const auto* entry = qobject_cast<const TInputW*>(child->widget());
            if (entry == nullptr)
                continue;
            const OpenedMonth& shown = entry->Opened();
            const bool written = std::any_of(months.begin(), months.end(), [&](const auto& m) {
                return m.id == shown.id && m.year == shown.year && m.month == shown.month;
            });
            if (written && !child->close())
                return false;
        }
        return true;
    };
    ImportStart start;
    start.id = S(SelectedID());
    start.year = SelectedYear().isEmpty() ? QDate::currentDate().year() : SelectedYear().toInt();
    start.month = SelectedMonth();
    TImportD dialog({files_, settings_, fs_, RealFileSystem(), &TImportD::ChooseFile, closeWindows,
                     [this](const ImportReport&) {
                         FillYearList();
                         UpdateMonthState();
                     }},
                    start, this);
    dialog.exec();
}

void TMainFrom::RestoreBackupClick() {
    if (readOnly_)
        return;
    for (QMdiSubWindow* child : clientArea_->subWindowList()) {
        const auto* entry = qobject_cast<TInputW*>(child->widget());
        if (entry != nullptr && entry->Modified()) {
            clientArea_->setActiveSubWindow(child);
            Messages::Information(this, QStringLiteral("記録されていない入力があります。\n"
                                                       "記録するか入力画面を閉じてから、"
                                                       "もう一度お試し下さい。"));
            return;
        }
    }
    std::vector<std::string> names;
    if (!Guarded(this, [&] { names = BackupNames(files_); }))
        return;
    if (names.empty()) {
        Messages::Information(this,
                              QStringLiteral("バックアップはまだありません。\n"
                                             "バックアップは、その日の最初の変更の前に"
                                             "データフォルダの backup フォルダに作られます。"));
        return;
    }
    QString name;
    {
        TRestoreD dialog(files_, this);
        if (dialog.exec() != QDialog::Accepted || dialog.SelectedName().isEmpty())
            return;
        name = dialog.SelectedName();
    }
    const QString caption = TRestoreD::Caption(name);
    if (!Messages::Confirm(this,
                           QStringLiteral("データを %1 のバックアップに戻します。\n"
                                          "今のデータは、戻す前にバックアップされます。\n"
                                          "よろしいですか？")
                               .arg(caption),
                           Messages::No))
        return;

    // The present state first: a restore that was a mistake can be taken back.
    const QString now = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    QString kept;
    RestoredFiles done;
    if (!Guarded(this, [&] {
            kept = Q(BackUpBeforeRestore(files_, S(now)));
            done = RestoreBackup(files_, S(name));
        }))
        return;

    // Nothing may go on showing the data as it was.
    clientArea_->closeAllSubWindows();
    FillYearList();
    UpdateInputButton();
    ComboBox4Change();
    QString report = QStringLiteral("データを %1 のバックアップに戻しました。\n戻したファイル: %2")
                         .arg(caption, Q(JoinNames(done.restored)));
    if (!done.removed.empty())
        report += QStringLiteral("\nバックアップになかったため削除したファイル: %1")
                      .arg(Q(JoinNames(done.removed)));
    report += QStringLiteral("\n\n戻す前のデータは「%1」のバックアップに残っています。")
                  .arg(TRestoreD::Caption(kept));
    Messages::Information(this, report);
}

void TMainFrom::CheckFolderClick() {
    FolderCheckResult result;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool checked = Guarded(this, [&] { result = CheckFolder(files_); });
    QApplication::restoreOverrideCursor();
    if (!checked)
        return;
    TCheckD dialog(result, programFolder_, this);
    dialog.exec();
}

// --- files of the program folder -------------------------------------------

QStringList TMainFrom::ProgramFolderEntries() const {
    return QDir(programFolder_).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

QString TMainFrom::FindIn(const QStringList& entries, const QString& name) const {
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return programFolder_ + entry;
    return {};
}

QString TMainFrom::SalariumProgram(const QStringList& entries) const {
    const QString windowsProgram = FindIn(entries, QStringLiteral("Salarium.exe"));
    if (!windowsProgram.isEmpty())
        return windowsProgram;
    const QString program = FindIn(entries, QStringLiteral("Salarium"));
    if (!program.isEmpty() && QFileInfo(program).isExecutable())
        return program;
    return {};
}

// --- window ---------------------------------------------------------------

void TMainFrom::BringToFront() {
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TMainFrom::closeEvent(QCloseEvent* event) {
    // Entry windows with unsaved changes ask first; one that is kept open
    // keeps the program running.
    clientArea_->closeAllSubWindows();
    if (!clientArea_->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    // The help window goes with the program, and its place is kept.
    CloseHelp();
    event->accept();
}

void TMainFrom::LayOutRightAligned() {
    if (validLabel_ == nullptr || PanelButton8 == nullptr || PanelButton10 == nullptr)
        return;
    const int right = toolPanel_->width() - 10;
    validLabel_->move(right - validLabel_->width(), 4);
    invalidLabel_->move(right - invalidLabel_->width(), 4 + validLabel_->height() + 2);
    PanelButton8->move(selectionPanel_->width() - 2 - PanelButton8->width(), 2);
    PanelButton10->move(PanelButton8->x() - PanelButton10->width(), 2);
}

// --- a folder held by another copy -------------------------------------------

namespace {

// Keeps a control disabled whatever its window does with it later.
class StayDisabled final : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::EnabledChange && widget != nullptr && widget->isEnabled())
            QMetaObject::invokeMethod(
                widget, [widget] { widget->setEnabled(false); }, Qt::QueuedConnection);
        return false;
    }
};

void KeepDisabled(QWidget* widget) {
    if (widget == nullptr)
        return;
    widget->setEnabled(false);
    widget->installEventFilter(new StayDisabled(widget));
}

}  // namespace

void TMainFrom::SetReadOnly() {
    readOnly_ = true;
    // Backups are the business of the copy that writes.
    files_.backup->keepDays = 0;
    setWindowTitle(QStringLiteral("Punchbook 2.0 (読み取り専用)"));
    for (QWidget* button :
         {static_cast<QWidget*>(PanelButton1), static_cast<QWidget*>(PanelButton2),
          static_cast<QWidget*>(PanelButton4), static_cast<QWidget*>(PanelButton8)})
        KeepDisabled(button);
    for (QAction* item : {dailyItem_, hourlyItem_, calcItem_, dataConvertItem_, deleteMonthItem_,
                          restoreItem_, importItem_})
        item->setEnabled(false);
    for (auto* item : findChildren<QAction*>(QRegularExpression(QStringLiteral("ColorItem$"))))
        item->setEnabled(false);
}

// The commands of a window opened from here that write: 記録 of an entry
// window, 削除 of the viewer.
void TMainFrom::DisableWriting(QWidget* window) {
    if (!readOnly_)
        return;
    KeepDisabled(window->findChild<QWidget*>(QStringLiteral("SavePB")));
    if (qobject_cast<TViewRD*>(window) != nullptr)
        KeepDisabled(window->findChild<QWidget*>(QStringLiteral("PanelButton1")));
}

// --- windows of other parts --------------------------------------------------

void TMainFrom::OpenEntryWindow(int mainWidth) {
    EntrySelection selection;
    selection.id = S(SelectedID());
    selection.year = SelectedYear().toInt();
    selection.month = SelectedMonth();
    selection.newMonth = NewMonthFlag();
    std::unique_ptr<TInputW> window;
    // The client area stays hidden while the window is built and placed, so
    // it appears once, maximised. A month the core refuses opens no window.
    clientArea_->hide();
    Guarded(this, [&] { window = std::make_unique<TInputW>(selection, files_, settings_); });
    if (!window) {
        clientArea_->show();
        return;
    }
    DisableWriting(window.get());
    connect(window.get(), &TInputW::monthSaved, this, &TMainFrom::UpdateMonthState);
    connect(window.get(), &TInputW::mainWidthWanted, this,
            [this](int width) { SetMainWidth(width, true); });
    TInputW* shown = window.release();
    // The main window takes its new size before the child appears, in one
    // step: every resize of the main window paints all of it once more.
    clientArea_->show();
    MakeRoomFor(*shown, mainWidth);
    ShowChild(shown);
}

// A month opens with every day and the summary in view where the screen has
// the room; on a smaller screen the main window takes the screen's height and
// the days scroll under their headings. The window never shrinks here; it
// takes the width the month's scheme wants.
void TMainFrom::MakeRoomFor(const TInputW& entry, int mainWidth) {
    if (isMaximized() || isFullScreen()) {
        SetMainWidth(mainWidth, true);
        return;
    }
    // The selection panel has just been hidden: measure the layout as it is now.
    centralWidget()->layout()->activate();
    const int around = height() - clientArea_->viewport()->height();
    int wanted = around + entry.WholeMonthHeight();
    const QScreen* shownOn = screen();
    const QRect room = shownOn != nullptr ? shownOn->availableGeometry() : QRect();
    if (!room.isEmpty())
        wanted = std::min(wanted, room.height() - (frameGeometry().height() - height()));
    // A wider limit first (a narrower one would resize the window on its own).
    if (mainWidth > maximumWidth())
        setMaximumWidth(mainWidth);
    const bool taller = wanted > height();
    resize(mainWidth, std::max(wanted, height()));
    SetMainWidth(mainWidth, false);
    if (!taller)
        return;
    // Taller, the frame may reach below the screen: it moves up as far as needed.
    const QRect frame = frameGeometry();
    if (!room.isEmpty() && frame.bottom() > room.bottom())
        move(frame.x(), std::max(room.top(), room.bottom() + 1 - frame.height()));
}

void TMainFrom::ShowChild(QWidget* window) {
    QMdiSubWindow* child = clientArea_->addSubWindow(window);
    child->setAttribute(Qt::WA_DeleteOnClose);
    child->setWindowIcon(ApplicationIcon());
    clientArea_->show();
    child->showMaximized();
    clientArea_->setActiveSubWindow(child);
}

// The forms reach their own window from their worker, so no process-wide
// reference to them is kept; each lives for one modal use.
void TMainFrom::OpenDailyWagesForm() {
    ReNewConfirmer confirmer(this, files_, settings_);
    MessageOperator op(this, &confirmer);
    TInputD form({files_, settings_, op, GrayTextColorRef()}, this);
    form.exec();
}

void TMainFrom::OpenTimeWagesForm() {
    ReNewConfirmer confirmer(this, files_, settings_);
    MessageOperator op(this, &confirmer);
    TInputT form({files_, settings_, op, GrayTextColorRef()}, this);
    form.exec();
}

// Open entry windows read the rules at their next calculation; they are not
// recalculated here.
void TMainFrom::OpenCalcSettings() {
    const FontColorSettings colours = settings_.FontColor;
    TCalcS dialog(settings_, fs_, GrayTextColorRef(), this);
    dialog.exec();
    // The dialog read the whole file again, font colours included.
    if (settings_.FontColor != colours) {
        ColourToolbarLabels();
        emit FontColorsChanged();
    }
}

void TMainFrom::OpenEmployeeViewer() {
    // Built and placed while the client area is hidden, so it appears once,
    // maximised; it reads the files when it becomes the active child.
    clientArea_->hide();
    auto viewer = std::make_unique<TViewRD>(files_, settings_);
    // A deletion in the viewer changes the lists of the selection panel.
    connect(viewer.get(), &TViewRD::EmployeesChanged, this, [this] {
        UpdateInputButton();
        ComboBox4Change();
    });
    DisableWriting(viewer.get());
    connect(viewer.get(), &TViewRD::mainWidthWanted, this,
            [this](int width) { SetMainWidth(width, false); });
    ShowChild(viewer.release());
}

// A conversion adds employees and years, and its restore may take them away
// again: the selection panel is filled anew when the files changed.
void TMainFrom::OpenDataConversion() {
    TChangeD dialog(files_, this);
    dialog.exec();
    if (dialog.FilesChanged()) {
        FillYearList();
        UpdateInputButton();
        ComboBox4Change();
    }
    UpdateDataConvertItem(ProgramFolderEntries());
}

}  // namespace pb
