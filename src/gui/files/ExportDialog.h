#pragma once
// エクスポート: a month, an employee's year or a pay scheme's month written to
// a file for payroll programs and spreadsheets, with the same figures and the
// same bytes as punchbook-export.

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

#include "core/model/PayScheme.h"
#include "core/model/Settings.h"
#include "core/store/DataFiles.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace pb {

// What the dialog needs from the program, handed in (tests hand in their own).
struct ExportContext {
    const DataFiles& files;
    const CalcSetSettings& rules;
    // Writes the chosen file: the machine's own file system even in a copy
    // that may not write its data folder, as the file lies elsewhere.
    FileSystem& target;
    // Asks where to write, suggesting a path and offering a file-type filter;
    // empty when the operator cancels.
    std::function<QString(QWidget* parent, const QString& suggested, const QString& filter)>
        chooseFile;
    // The folder of the last export of this run; the next one starts there.
    QString& folder;
};

// Where the dialog starts: the main window's selection and the entry window in use.
struct ExportStart {
    PayScheme scheme = PayScheme::Daily;
    std::string id;  // "" when no employee is selected
    int year = 0;
    int month = 1;
    QStringList years;  // the years the data folder has files for
    // The month of the entry window in use; `entryId` empty when there is none.
    std::string entryId;
    int entryYear = 0;
    int entryMonth = 0;
    QString entryTitle;  // "001 山田 太郎 2026年4月"
    bool entryModified = false;
};

class TExportD : public QDialog {
    Q_OBJECT
  public:
    enum class Kind { ThisMonth, EmployeeYear, SchemeMonth };

    TExportD(const ExportContext& context, const ExportStart& start, QWidget* parent = nullptr);

    // The operator's choice through the controls (tests set it this way too).
    void SetKind(Kind kind);
    Kind CurrentKind() const;
    // The file written by the last export, empty before one.
    const QString& WrittenPath() const { return written_; }

    // The save-file dialog of the program: Qt's own, asking before it replaces a file.
    static QString ChooseFile(QWidget* parent, const QString& suggested, const QString& filter);

  public slots:
    // 書き出し: the file's content, then its name, then the file; true when written.
    bool ExportPBClick();
    void KindChange();

  private:
    // The bytes to write and the file name to suggest; false (the operator
    // told why) when there is nothing to write.
    bool Collect(std::string& bytes, QString& name, QStringList& notes);
    bool IsProgramFile(const QString& path) const;

    ExportContext context_;
    ExportStart start_;
    QString written_;

    QButtonGroup* kinds_ = nullptr;
    QRadioButton* thisMonthRB_ = nullptr;
    QRadioButton* employeeYearRB_ = nullptr;
    QRadioButton* schemeMonthRB_ = nullptr;
    QLabel* thisMonthLabel_ = nullptr;
    QComboBox* employeeCB_ = nullptr;
    QComboBox* schemeCB_ = nullptr;
    QComboBox* yearCB_ = nullptr;
    QComboBox* monthCB_ = nullptr;
    QRadioButton* csvRB_ = nullptr;
    QRadioButton* jsonRB_ = nullptr;
    QCheckBox* traceCheck_ = nullptr;
    QRadioButton* utf8RB_ = nullptr;
    QRadioButton* sjisRB_ = nullptr;
    QPushButton* exportPB_ = nullptr;
    QPushButton* cancelPB_ = nullptr;
};

}  // namespace pb
