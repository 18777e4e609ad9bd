#include "gui/employees/HourlyUpdateDialog.h"

#include "core/common/Routines.h"
#include "core/store/EmployeeFiles.h"
#include "gui/shared/Naming.h"
#include "gui/shared/Text.h"

namespace pb {

namespace {

QStringList RowLabels() {
    QStringList labels{QStringLiteral("勤務体系"), QStringLiteral("締日"),
                       QStringLiteral(" 標準時給")};
    const QStringList bands{QStringLiteral("区分１"), QStringLiteral("区分２"),
                            QStringLiteral("区分３")};
    for (const QString& band : bands)
        for (int weekday = 1; weekday <= 7; ++weekday)
            labels << QStringLiteral(" 時給 ") + band + QStringLiteral(" ") +
                          Q(WeekdayText(weekday));
    for (const QString& band : bands)
        labels << QStringLiteral(" ") + band + QStringLiteral(" 開始時刻");
    return labels;
}

}  // namespace

HourlyUpdateDialog::HourlyUpdateDialog(const DataFiles& files, const Settings& settings,
                                       const PendingTimeRegistration& pending, QWidget* parent)
    : UpdateDialog(files, settings, pending.ID, pending.Name, RowLabels(),
                   RowValues(pending.Record), /*heightBounded=*/false, parent) {
    Name(this, QStringLiteral("TReNewDlgT"));
}

QStringList HourlyUpdateDialog::RowValues(const TimeWagesRecord& r) {
    QStringList values;
    values << QString::number(r.WorkType);
    values << (r.ClosingDay == 0 ? QStringLiteral("月末")
                                 : QString::number(r.ClosingDay) + QStringLiteral("日"));
    values << Q(FormatYen(r.TimePay));
    for (const TimeWagesRecord::WeekPays* band : {&r.Band1Pays, &r.Band2Pays, &r.Band3Pays})
        for (std::int32_t pay : *band)
            values << Q(FormatYen(pay));
    for (std::int32_t steps : {r.ChargeDivideTime1, r.ChargeDivideTime2, r.ChargeDivideTime3})
        values << Q(StepsToText(steps));
    return values;
}

QStringList HourlyUpdateDialog::StoredValues(const DataFiles& files, const std::string& id) const {
    const std::optional<TimeWagesRecord> stored = ReadTimeRecord(files, id, 0);
    return stored ? RowValues(*stored) : QStringList();
}

}  // namespace pb
