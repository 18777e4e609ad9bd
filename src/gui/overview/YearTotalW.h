#pragma once
// 年間集計: one employee's twelve pay months of a year (days, overtime by
// class or minutes by band, yen) and the limits of the overtime-agreement
// rules as hints beside them. It only shows figures; CSV saves the table.

#include <QDialog>
#include <string>

#include "core/overview/YearOvertime.h"
#include "gui/overview/OverviewContext.h"

class QLabel;
class QListWidget;
class QSpinBox;
class QTableView;

namespace pb {

class OverviewModel;
class TPanelButton;

class TYearTotal : public QDialog {
    Q_OBJECT
  public:
    TYearTotal(const OverviewContext& context, const std::string& id, int year,
               QWidget* parent = nullptr);

    const EmployeeYear& Year() const { return year_; }
    QStringList HintLines() const;

  public slots:
    void Refresh();     // reads the year again
    void CsvPBClick();  // CSV保存

  private:
    void FormCreate();

    OverviewContext context_;
    std::string id_;
    EmployeeYear year_;

    QLabel* NameLabel = nullptr;
    QSpinBox* YearEdit = nullptr;
    QTableView* YearGrid = nullptr;
    QListWidget* HintList = nullptr;
    TPanelButton* CsvPB = nullptr;
    TPanelButton* ClosePB = nullptr;
    OverviewModel* model_ = nullptr;
};

}  // namespace pb
