#pragma once
// The employee viewer: every registered employee of one pay scheme side by
// side, one grid column per employee and one row per item of the wage
// conditions in force, with a button that deletes the chosen employee.
//
// A child window of the main window's client area; it reads the files afresh
// each time it becomes the active child, so changes made elsewhere show then.
// Files too large to read at once are read on a thread of its own while the
// window takes input; the grid follows when they are read.

#include <QString>
#include <QStringList>
#include <QWidget>
#include <exception>
#include <optional>
#include <string>

#include "core/model/PayScheme.h"
#include "core/store/DataFiles.h"
#include "core/store/Records.h"
#include "core/store/Settings.h"
#include "gui/controls/StringGrid.h"

class QComboBox;
class QFrame;
class QPainter;
class QRadioButton;
class QRect;
class QThread;

namespace pb {

class TPanelButton;

class TViewRD : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int HelpContext READ HelpContext CONSTANT)

  public:
    // Reads the files of `files` with the colours of `settings` (which must
    // outlive the window).
    TViewRD(const DataFiles& files, const Settings& settings, QWidget* parent = nullptr);
    ~TViewRD() override;

    int HelpContext() const { return 4; }
    // The widest the main window may be dragged while the viewer is active.
    static constexpr int kMainWidth = 2000;

    // Reloads the ID list and the grid for the chosen scheme; does nothing while
    // no scheme is chosen.
    void RefreshView();
    // Whether the files are being read beside the window.
    bool Reading() const { return reader_ != nullptr; }
    void ResetGrid();
    void SetDailyLabels();
    void SetHourlyLabels();

  public slots:
    void FormActivate();
    void RadioButton1Click();
    void IdChanged();
    void StringGrid1Click();
    void StringGrid1SelectCell();
    void DeleteClicked();
    void FormResize();

  signals:
    // An employee was deleted: the main window's lists must follow.
    void EmployeesChanged();
    // The viewer became the active window and lets the main window be this wide.
    void mainWidthWanted(int width);

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // One employee's column as it is read from the files.
    struct Column {
        QString id;
        QString name;
        std::optional<DailyWagesRecord> daily;
        std::optional<TimeWagesRecord> hourly;
    };

    void BuildLayout();
    void FormClose();
    std::optional<PayScheme> ChosenScheme() const;
    // The chosen scheme's employees, sorted by ID. Throws when a file cannot be
    // read, before anything on screen has changed.
    std::vector<Column> ReadColumns(PayScheme scheme) const;
    // Shows what was read for `scheme`.
    void ShowColumns(PayScheme scheme, const std::vector<Column>& columns);
    // Reads the scheme's files on a thread, ShowColumns when they are read.
    void ReadBesideWindow(PayScheme scheme);
    void ReadingDone();
    class CellTexts;
    // One employee's column, top to bottom; name and ID only without conditions in force.
    static QStringList DailyColumnTexts(const Column& column, CellTexts& made);
    static QStringList HourlyColumnTexts(const Column& column, CellTexts& made);
    void SetLabels(int width, const QStringList& labels);
    void StringGrid1DrawCell(QPainter* canvas, int col, int row, const QRect& rect,
                             TGridDrawState state) const;

    DataFiles files_;
    const Settings* settings_ = nullptr;
    // The scheme whose rows the grid holds; nothing before the first refresh.
    std::optional<PayScheme> shownScheme_;
    // The reading under way beside the window, what it read or threw, and
    // whether another refresh was asked for meanwhile.
    QThread* reader_ = nullptr;
    PayScheme readScheme_ = PayScheme::Daily;
    std::vector<Column> read_;
    std::exception_ptr readFailure_;
    bool refreshAgain_ = false;

    QFrame* Panel1 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QComboBox* idBox_ = nullptr;
    TPanelButton* deleteButton_ = nullptr;
    TStringGrid* StringGrid1 = nullptr;
};

}  // namespace pb
