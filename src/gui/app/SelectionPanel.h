#pragma once
// The main window's selection panel: pay scheme, employee, year and month, the
// indicator of a stored month, 開始 and 削除.
//
// The panel owns the selection and whether the chosen month is stored; the
// main window decides what 開始 opens. 削除 is done here, after the windows of
// the month have closed (the main window hands in how).

#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <string>

#include "core/model/PayScheme.h"
#include "core/store/DataFiles.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QStringListModel;
class QTimer;

namespace pb {

class TPanelButton;
class YearIndexer;

class SelectionPanel : public QWidget {
    Q_OBJECT
  public:
    // `files` is read for the lists; the panel keeps the reference.
    explicit SelectionPanel(const DataFiles& files, QWidget* parent = nullptr);

    // The selection: the pay scheme, the ID ("" when none), the
    // selected year item ("" when none), the month 1..12 and the month item as
    // listed (" 4月").
    PayScheme Scheme() const;
    QString ID() const;
    QString Year() const;
    int Month() const;
    QString MonthItem() const;
    // Every year of the list.
    QStringList Years() const;

    // Whether the chosen month has a stored record (as last looked up).
    bool MonthStored() const { return monthStored_; }

    TPanelButton* StartButton() const { return startButton_; }
    TPanelButton* DeleteButton() const { return deleteButton_; }

    // 削除 stays disabled whatever is stored.
    void SetReadOnly();
    // The copy may write after all: 削除 follows the stored month again.
    void SetWritable();
    // Closes the windows showing a month before it is deleted; false when one
    // stays open (its own save failed), and the month is kept.
    void SetMonthWindowCloser(std::function<bool(const std::string& id, int year, int month)>);
    // The keyboard goes to the pay scheme, the first box.
    void TakeFocus();
    // From now on (the window is painted) the selected year's file is indexed
    // beside the window once the year box has settled on it.
    void IndexYearsWhenIdle();
    // Whether a year's index is being read.
    bool Indexing() const;

  public slots:
    // The years of the work-data files (or the current year), the first selected.
    void FillYearList();
    // The pay scheme changed (or the employees did): the IDs of the scheme
    // anew, the first employee, year and month selected.
    void FillEmployees();
    // The employees changed elsewhere (another copy registered or deleted
    // one): the IDs of the scheme anew, the selection kept while its employee
    // is still listed.
    void FollowEmployees();
    // Looks the chosen month up; the indicator and 削除 follow. A year too
    // large to read at once is indexed beside the window, and they follow
    // when it is.
    void UpdateMonthState();
    // Leaving the year box or Enter in it: the typed year is taken over, or the
    // box shows the selected year again; false when a typed text was refused.
    bool TakeTypedYear();
    // One tick of the indicator: blinks while the chosen month is stored.
    void Blink();
    // 削除: the chosen month's record, after a question.
    void DeleteMonth();

  signals:
    // 開始 was pressed.
    void startClicked();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void EmployeeChanged();
    void YearChanged();
    // The month looked up reading on at most `budget` bytes; false when not known yet.
    bool LookUpMonth(std::uint64_t budget);
    void IndexSelectedYear();
    void ShowIcon(bool stored);

    const DataFiles& files_;
    bool monthStored_ = false;
    bool readOnly_ = false;
    bool indexWhenIdle_ = false;
    int blink_ = 1;
    std::function<bool(const std::string&, int, int)> closeMonthWindows_;

    QComboBox* schemeBox_ = nullptr;
    QComboBox* idBox_ = nullptr;
    QStringListModel* idList_ = nullptr;  // idBox_'s items
    QLineEdit* nameEdit_ = nullptr;
    QComboBox* yearBox_ = nullptr;
    QComboBox* monthBox_ = nullptr;
    QLabel* indicator_ = nullptr;
    TPanelButton* startButton_ = nullptr;
    TPanelButton* deleteButton_ = nullptr;
    QTimer* blinkTimer_ = nullptr;
    QTimer* settle_ = nullptr;  // the year box at rest
    YearIndexer* indexer_ = nullptr;
};

}  // namespace pb
