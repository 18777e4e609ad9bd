#pragma once
// The daily-wage registration form: registers, changes and deletes employees of
// the daily-wage scheme.

#include <array>

#include "core/store/Records.h"
#include "gui/employees/WageForm.h"

class QGroupBox;

namespace pb {

class TInputD : public TWageForm {
    Q_OBJECT
  public:
    explicit TInputD(const WageFormContext& context, QWidget* parent = nullptr);

    // The work pattern last computed by UpdateWorkType.
    int CurrentDailyWorkType() const { return currentDailyWorkType_; }

    void IDCBChange() override;
    void UpdateWorkType() override;
    void RefreshColours() override;

    void ShowWorkType(int workType);
    void ShowDailyWages(const DailyWagesRecord& record);
    DailyWagesRecord CollectDailyWages();
    bool HalfDayAllowed(int weekdayIndex) const;

    void PayCheckBoxClick(int tag);
    void WeekCheckBoxClick(int tag);
    void HalfHolidayCBClick();
    void HalfHolidayComboChange();
    void TimeTrackBarChange(int tag);
    bool TimeTrackBarKeyDown(int tag, int key);

    void RegisterClicked();
    void CloseClicked();
    void DeleteClicked();
    void ReflectDefoData();
    void SetDefoData();

    // The item of HalfHolidayCombo whose text the field shows; -1 for none.
    int HalfHolidayIndex() const;

  protected:
    bool FormKeyFilter(QObject* watched, QKeyEvent* event) override;

  private:
    void BuildWindow();
    void SetTabOrder();
    void SetSliderStep(int tag, int step);

    int currentDailyWorkType_ = 0;
    std::array<int, 6> lastTimeSteps_{};  // by slider tag 1 … 5
    bool showing_ = false;                // ShowDailyWages at work
    bool steppingBack_ = false;           // HalfHolidayComboChange's own selection
    bool programMove_ = false;            // sliders moved by the program

    std::array<QCheckBox*, 7> classBoxes_{};  // by tag 1 … 6 (5 HalfHolidayCB, 6 HolidayCB)
    std::array<QCheckBox*, 8> weekBoxes_{};   // by weekday 1 (日) … 7 (土)
    std::array<QSlider*, 6> sliders_{};
    std::array<QLineEdit*, 6> timeTexts_{};
    std::array<QLabel*, 6> timeLabels_{};

    QCheckBox* HolidayCB = nullptr;
    QCheckBox* HalfHolidayCB = nullptr;
    QComboBox* HalfHolidayCombo = nullptr;
    QLabel* holidayRateLabel_ = nullptr;
    QLabel* idStatusLabel_ = nullptr;
};

}  // namespace pb
