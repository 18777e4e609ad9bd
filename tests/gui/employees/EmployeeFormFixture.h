#pragma once
// A program folder of its own for each registration-form test, with the files,
// the settings record and an operator that answers from a script.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <string>

#include "../../core/store/ScriptedOperator.h"
#include "core/store/DataFiles.h"
#include "core/store/EmployeeFiles.h"
#include "core/store/Settings.h"
#include "gui/controls/NumEdit.h"
#include "gui/controls/Pbutton.h"
#include "gui/employees/WageForm.h"
#include "support/GuiTestSupport.h"

namespace pb::test {

class EmployeeFormTest : public ::testing::Test {
  protected:
    EmployeeFormTest()
        : folder_(dir_.path().toStdString() + "/"), files_(AssignDataFiles(folder_)) {
        settings_.ProgramFolder = folder_;
    }

    WageFormContext Context() { return {files_, settings_, op_, 0x808080}; }

    // Registers straight through the store, answering any confirmation yes.
    void RegisterDaily(const std::string& id, const std::string& name, DailyWagesRecord record) {
        ScriptedOperator quiet;
        EmployeeEntry entry;
        record.ID = id;
        record.Current = 1;
        record.Generation = 1;
        entry.Daily = record;
        entry.Name = MakeNameRecord(files_, id, name, 1001);
        ASSERT_TRUE(RegisterEmployee(files_, entry, PayScheme::Daily, quiet));
    }
    void RegisterTime(const std::string& id, const std::string& name, TimeWagesRecord record) {
        ScriptedOperator quiet;
        EmployeeEntry entry;
        record.ID = id;
        record.Current = 1;
        record.Generation = 1;
        entry.Time = record;
        entry.Name = MakeNameRecord(files_, id, name, 2001);
        ASSERT_TRUE(RegisterEmployee(files_, entry, PayScheme::Hourly, quiet));
    }

    // The WagesCode "Name.dat" holds for the ID (0 when none).
    int WagesCodeOf(const std::string& id) { return LookupEmployee(files_, id, "").WagesCode; }

    std::string FileBytes(const std::string& path) {
        if (!files_.fs->Exists(path))
            return "<absent>";
        const Bytes bytes = files_.fs->ReadAll(path);
        return std::string(bytes.begin(), bytes.end());
    }
    std::string MasterFiles() {
        return FileBytes(files_.NameFile) + "|" + FileBytes(files_.DailyWagesFile) + "|" +
               FileBytes(files_.TimeWagesFile);
    }

    // Texts the operator was shown, of one kind, in order.
    std::vector<std::string> Shown(const std::string& kind) const {
        std::vector<std::string> texts;
        for (const auto& call : op_.calls)
            if (call.kind == kind)
                texts.push_back(call.text);
        return texts;
    }

    // Types into the ID field and presses Enter.
    static void TypeId(QWidget* form, const QString& text) {
        auto* idcb = Find<QComboBox>(form, "IDCB");
        idcb->setFocus();
        idcb->lineEdit()->selectAll();
        QTest::keyClicks(idcb, text);
        QTest::keyClick(idcb, Qt::Key_Return);
        // The focus moves on (posted) and the field's leave handling runs.
        QTest::qWait(1);
        QApplication::processEvents();
    }

    QTemporaryDir dir_;
    std::string folder_;
    DataFiles files_;
    Settings settings_;
    ScriptedOperator op_;
};

}  // namespace pb::test
