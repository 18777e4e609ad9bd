#pragma once
// The calculation settings dialog: the four rules the month calculation applies
// to every employee (overtime unit, rounding, rounding per day or per month, the
// pay month of a month-end closing). It keeps nothing of its own: it shows and
// edits the Calc_Set fields of the program's one settings record.

#include <QDialog>
#include <QVector>
#include <cstdint>

#include "core/store/FileSystem.h"
#include "core/store/Settings.h"

class QButtonGroup;
class QGroupBox;
class QRadioButton;

namespace pb {

class TPanelButton;

class CalcSettingsDialog : public QDialog {
    Q_OBJECT
  public:
    // The minutes of the options of 残業時間区分（分）, in their order.
    static constexpr std::int32_t kOvertimeUnits[] = {1, 5, 10, 15, 20, 30};

    // `settings` is the program's record (ProgramFolder set) and must outlive the
    // dialog; `invalidColorDefault` is InvalidColor's default when it is read.
    CalcSettingsDialog(Settings& settings, FileSystem& fs, std::int32_t invalidColorDefault,
                       QWidget* parent = nullptr);

    // The selected option of group `group` (1 … 4), counted from 0; -1 for none.
    int ItemIndex(int group) const;
    // The option `index` of group `group` (for tests and the colouring).
    QRadioButton* Item(int group, int index) const;

  public slots:
    // Reads the settings file and shows its rules.
    void ShowStoredRules();
    // The selection of group `tag` (1 … 4) changed: the choice in ValidColor, the
    // alternatives in InvalidColor. All four groups share it.
    void ChoiceChanged(int tag);
    void StoreClicked();    // 登録: store and close
    void RestoreClicked();  // 戻す: show the stored rules again
    void CancelClicked();   // 中止: close without storing

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void BuildButtonBar();
    QGroupBox* MakeGroup(int tag, const QString& caption, const QStringList& options, int columns,
                         int x, int y, int w, int h);
    void SetItemIndex(int group, int index);
    void ShowSettings();
    // The selections written into `rules`; a group without one leaves its field.
    void TakeSelections(CalcSetSettings& rules) const;

    Settings& settings_;
    FileSystem& fs_;
    std::int32_t invalidColorDefault_;

    TPanelButton* store_ = nullptr;
    TPanelButton* restore_ = nullptr;
    TPanelButton* cancel_ = nullptr;
    QGroupBox* overtimeUnitGroup_ = nullptr;
    QGroupBox* roundingGroup_ = nullptr;
    QGroupBox* roundingSpanGroup_ = nullptr;
    QGroupBox* monthEndGroup_ = nullptr;
    QVector<QGroupBox*> groups_;         // by tag - 1
    QVector<QButtonGroup*> selections_;  // by tag - 1; ids are the option indexes
};

}  // namespace pb
