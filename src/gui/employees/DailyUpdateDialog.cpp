#include "gui/employees/DailyUpdateDialog.h"

#include "core/common/Routines.h"
#include "core/store/EmployeeFiles.h"
#include "gui/shared/Naming.h"
#include "gui/shared/Text.h"

namespace pb {

namespace {

QStringList RowLabels() {
    QStringList labels;
    for (const char* label : {"勤務体系",         "締日",
                              "休日区分",         "休日曜日1",
                              "休日曜日2",        "休日曜日3",
                              "半日勤務曜日",     "早出時給",
                              "残業時給",         "早朝時給",
                              "深夜時給",         "休日早出時給",
                              "休日残業時給",     "休日早朝時給",
                              "休日深夜時給",     "規定出社時刻",
                              "規定退社時刻",     "規定退社時刻(半日)",
                              "深夜区分開始時刻", "早朝区分終了時刻"})
        labels << QString::fromUtf8(label);
    return labels;
}

}  // namespace

DailyUpdateDialog::DailyUpdateDialog(const DataFiles& files, const Settings& settings,
                                     const PendingDailyRegistration& pending, QWidget* parent)
    : UpdateDialog(files, settings, pending.ID, pending.Name, RowLabels(),
                   RowValues(pending.Record), /*heightBounded=*/true, parent) {
    Name(this, QStringLiteral("TReNewDlgD"));
}

QStringList DailyUpdateDialog::RowValues(const DailyWagesRecord& r) {
    QStringList values;
    values << QString::number(r.WorkType);
    values << (r.ClosingDay == 0 ? QStringLiteral("月末")
                                 : QString::number(r.ClosingDay) + QStringLiteral("日"));
    values << Q(SetStateText(r.Holiday != 0));
    for (std::int32_t weekday : {r.Holiday1, r.Holiday2, r.Holiday3, r.HalfHoliday})
        values << Q(WeekdayText(weekday));
    for (std::int32_t pay :
         {r.WeekdayMorningPay, r.WeekdayOverPay, r.WeekdayEarMornPay, r.WeekdayNightPay,
          r.HolidayMorningPay, r.HolidayOverPay, r.HolidayEarMornPay, r.HolidayNightPay})
        values << Q(FormatYen(pay));
    for (double time : {r.TimeToStartWork, r.TimeToFinishWork, r.TimeToFinishWorkHH,
                        r.TimeToStartNight, r.TimeToFinishMorning})
        values << Q(TimeToText(time));
    return values;
}

QStringList DailyUpdateDialog::StoredValues(const DataFiles& files, const std::string& id) const {
    const std::optional<DailyWagesRecord> stored = ReadDailyRecord(files, id, 0);
    return stored ? RowValues(*stored) : QStringList();
}

}  // namespace pb
