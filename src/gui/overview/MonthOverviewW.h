#pragma once
// 表示 → 月次一覧: one pay month of every employee of a pay scheme, one row
// each (stored or not, refused with the reason, days, minutes by class or
// band, yen, notes), "18 / 25 記録済み" above it. Any column sorts; Enter or a
// double-click asks for the employee's month in the entry window. The table
// follows the files while it is open (a save, an import, a deletion).
// From here: the reports of the chosen or of every stored month in one print
// job or one PDF, an employee's year (年間集計), the table as CSV.

#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>
#include <tuple>
#include <vector>

#include "core/overview/MonthOverview.h"
#include "core/store/FileSystem.h"
#include "gui/overview/OverviewContext.h"

class QComboBox;
class QLabel;
class QSortFilterProxyModel;
class QSpinBox;
class QTableView;
class QTimer;

namespace pb {

class OverviewModel;
class TPanelButton;
struct ReportPage;

class TMonthOverview : public QWidget {
    Q_OBJECT
  public:
    TMonthOverview(const OverviewContext& context, PayScheme scheme, int year, int month,
                   QWidget* parent = nullptr);
    ~TMonthOverview() override;

    const MonthOverview& Overview() const { return overview_; }
    // The IDs of the rows the operator chose, in ID order (none chosen: empty).
    std::vector<std::string> ChosenIds() const;
    // The reports of the chosen months, or of every stored one when none is
    // chosen, in ID order; what cannot be printed is listed in `left`.
    std::vector<ReportPage> ReportPages(QStringList& left) const;

  public slots:
    // Reads the month of every employee again (and shows a failure).
    void Refresh();
    void OpenPBClick();   // 開く: the current row's month in the entry window
    void PrintPBClick();  // 印刷: the preview of the reports, one job
    void PdfPBClick();    // PDF保存: the reports as one PDF file
    void YearPBClick();   // 年間集計 of the current row's employee
    void CsvPBClick();    // CSV保存: the table
    void SelectionChange();

  signals:
    // Enter, a double-click or 開く on a row: that month in the entry window.
    void monthWanted(pb::PayScheme scheme, const QString& id, int year, int month);
    // Activated in the client area: the main window may be this wide.
    void mainWidthWanted(int width);

  private:
    void FormCreate();
    // The files the table is read from changed since the last reading.
    bool FilesChanged();
    std::vector<std::optional<FileStamp>> Stamps() const;
    QString CurrentId() const;

    OverviewContext context_;
    MonthOverview overview_;
    std::vector<std::optional<FileStamp>> stamps_;
    CalcSetSettings readWith_;
    std::tuple<PayScheme, int, int> sizedFor_{};  // the month the columns were sized for

    QComboBox* SchemeCB = nullptr;
    QSpinBox* YearEdit = nullptr;
    QComboBox* MonthCB = nullptr;
    QLabel* CountLabel = nullptr;
    QTableView* OverviewGrid = nullptr;
    TPanelButton* OpenPB = nullptr;
    TPanelButton* PrintPB = nullptr;
    TPanelButton* PdfPB = nullptr;
    TPanelButton* YearPB = nullptr;
    TPanelButton* CsvPB = nullptr;
    QTimer* FollowTimer = nullptr;
    OverviewModel* model_ = nullptr;
    QSortFilterProxyModel* sorted_ = nullptr;
};

}  // namespace pb
