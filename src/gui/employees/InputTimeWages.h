#pragma once
// The hourly-wage registration form: registers, changes and deletes employees of
// the hourly-wage scheme, with rates by time band and by weekday.

#include <array>

#include "core/store/Records.h"
#include "gui/employees/WageForm.h"

class QMenu;
class QRadioButton;

namespace pb {

class TInputT : public TWageForm {
    Q_OBJECT
  public:
    static constexpr int kSlots = 22;  // 0 the standard rate, 1 … 21 the band rates

    explicit TInputT(const WageFormContext& context, QWidget* parent = nullptr);

    // The work pattern last computed by UpdateWorkType.
    int CurrentTimeWorkType() const { return currentTimeWorkType_; }
    // Which slots the record keeps: 0, 2, 3, 4, 6 or 7.
    int RateMode() const;

    void IDCBChange() override;
    void UpdateWorkType() override;
    void RefreshColours() override;

    void ShowTimeWages(const TimeWagesRecord& record);
    TimeWagesRecord CollectTimeWages();
    void ReflectTimeDefaults();

    void FormActivate();
    void DivideCheckBoxClick();
    void RadioButtonClick();
    void CheckBox3Click();
    void TimeTrackBarChange(int tag);

    void RegisterClicked();
    void CloseClicked();
    void RestoreDefaultsClicked();
    void StoreDefaultsClicked();
    void DeleteClicked();
    void UnifyClicked();
    void K1Click();
    void K2Click();

    // Slot `slot` of a record: 0 TimePay, 1 + 7 × (band − 1) + (weekday − 1).
    static std::int32_t& Slot(TimeWagesRecord& record, int slot);
    static std::int32_t Slot(const TimeWagesRecord& record, int slot);

  protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool FormKeyFilter(QObject* watched, QKeyEvent* event) override;

  private:
    void BuildWindow();
    void SetTabOrder();
    void SetSliderStep(int tag, int step);
    // Time division is on: with neither stage chosen the pattern counts three
    // bands, so the screen is made to say so.
    bool TwoBands() const;
    void SetStages(bool two, bool three);
    // "時間区分の設定が不正です。" with OK and ﾍﾙﾌﾟ(&H).
    void BandOrderWarning();

    int currentTimeWorkType_ = 8;
    bool popupOn_ = false;

    QCheckBox* CheckBox1 = nullptr;  // 時間
    QCheckBox* CheckBox2 = nullptr;  // 曜日
    QCheckBox* CheckBox3 = nullptr;  // 有り
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QLabel* idStatusLabel_ = nullptr;
    QMenu* PopupMenu1 = nullptr;
    std::array<QSlider*, 4> sliders_{};
    std::array<QLineEdit*, 4> timeTexts_{};
    std::array<QLabel*, 4> timeLabels_{};       // Label4 … Label6
    std::array<QLabel*, kSlots> weekLabels_{};  // Label9 … Label29 by slot
};

}  // namespace pb
