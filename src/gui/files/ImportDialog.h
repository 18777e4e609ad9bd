#pragma once
// 勤務データの取り込み: clock times from a CSV file (a time recorder's export, a
// spreadsheet, a month CSV of the program) written into the employees' months,
// as punchbook-import writes them. The operator chooses the file and its
// column layout (with the first rows in view), sees what the import would do,
// chooses once whether differing days keep their stored times, and only then
// is anything written.

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/import/ClockCsv.h"
#include "core/import/ClockImport.h"
#include "core/model/Settings.h"
#include "core/store/DataFiles.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;
class QTreeWidget;

namespace pb {

// What the dialog needs from the program, handed in (tests hand in their own).
struct ImportContext {
    const DataFiles& files;
    // The rules of the calculation are read; the [Import] keys remember the
    // column layout and are written through `settingsFs`.
    Settings& settings;
    FileSystem& settingsFs;
    // Reads the chosen file: the machine's own file system, as it lies anywhere.
    const FileSystem& source;
    // Asks which file to read, starting in `folder`; empty when the operator cancels.
    std::function<QString(QWidget* parent, const QString& folder)> chooseFile;
    // Before the months are written: the open windows of those months close
    // (asking about their unsaved edits); false when one stays open.
    std::function<bool(const std::vector<ImportMonth>& months)> closeWindows;
    // After the write: the windows that show the folder follow.
    std::function<void(const ImportReport& report)> written;
};

// The month a file without an ID column (a month CSV) is for, at the start.
struct ImportStart {
    std::string id;
    int year = 0;
    int month = 1;
};

class TImportD : public QDialog {
    Q_OBJECT
  public:
    TImportD(const ImportContext& context, const ImportStart& start, QWidget* parent = nullptr);

    // The file read and split; its first rows shown. False (the operator told
    // why) when it cannot be read as a table.
    bool LoadFile(const QString& path);
    void SetChoice(ImportChoice choice);
    ImportChoice Choice() const;
    // The plan shown, or nothing before a preview.
    const std::optional<ImportPlan>& Plan() const { return plan_; }
    // The report of the last import, empty before one.
    const QString& ReportText() const { return report_; }

    // The program's open-file dialog.
    static QString ChooseFile(QWidget* parent, const QString& folder);

  public slots:
    void BrowsePBClick();
    // プレビュー: the rows read by the chosen layout and the plan of importing
    // them; the layout is remembered. False when nothing could be planned.
    bool PreviewPBClick();
    // 取り込み: writes the plan; true when written.
    bool ImportPBClick();

  private:
    ClockLayout Layout() const;
    void ShowLayout(const ClockLayout& layout);
    void ShowRows();
    void ShowPlan();
    void ClearPlan();

    ImportContext context_;
    QString path_;
    std::optional<CsvTable> table_;
    std::optional<ImportPlan> plan_;
    QString report_;

    QLineEdit* fileEdit_ = nullptr;
    QPushButton* browsePB_ = nullptr;
    QLabel* encodingLabel_ = nullptr;
    std::vector<QSpinBox*> columns_;  // ID, date, clock-in, clock-out, break start, break end
    QTableWidget* rowsGrid_ = nullptr;
    QGroupBox* monthCsvGroup_ = nullptr;
    QComboBox* employeeCB_ = nullptr;
    QSpinBox* yearSE_ = nullptr;
    QSpinBox* monthSE_ = nullptr;
    QPushButton* previewPB_ = nullptr;
    QTreeWidget* planTree_ = nullptr;
    QListWidget* refusedList_ = nullptr;
    QLabel* summaryLabel_ = nullptr;
    QRadioButton* keepRB_ = nullptr;
    QRadioButton* replaceRB_ = nullptr;
    QPushButton* importPB_ = nullptr;
    QPushButton* closePB_ = nullptr;
};

}  // namespace pb
