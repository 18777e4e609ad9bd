#pragma once
// What the daily-wage and the hourly-wage registration forms share: the ID field,
// the rate fields with their inverted scroll bars, the closing day, Enter moving
// the focus on, and the worker that keeps the work pattern in the title.

#include <QDialog>
#include <QKeySequence>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/model/PayScheme.h"
#include "core/store/DataFiles.h"
#include "core/store/Operator.h"
#include "core/store/RecordRanges.h"
#include "core/store/Settings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QScrollBar;
class QSlider;

namespace pb {

class TCheckWorkType;
class TNumEdit;
class TPanelButton;

// What a registration form works with: the files, the settings record and the
// operator's answers.
struct WageFormContext {
    const DataFiles& files;
    Settings& settings;
    Operator& op;
    // The default of InvalidColor when the settings are read again.
    std::int32_t invalidColorDefault;
};

class TWageForm : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kMaxRate = kMaxHourlyRate;

    ~TWageForm() override;

    // The ID field's selected item: the ID in force (empty when none).
    QString SelectedId() const;

    // The ID field (`IDCB`). Takes a typed number 1 … 999 as a zero-padded ID,
    // adding it to the list when new; false when the text is no such number.
    bool AcceptTypedId();
    void IDCBExit();
    virtual void IDCBChange() = 0;

    // Rate field `tag` and its scroll bar.
    void PayScrollBarChange(int tag);
    void PayEditExit(int tag);
    bool PayEditKeyDown(int tag, int key);

    void ClosingDaySBChange();
    void ClosingDayEditExit();
    bool ClosingDayEditKeyDown(int key);
    void ClosingDayCBClick();

    // Recomputes the work pattern and shows it in the title (user-interface
    // thread; the worker asks for it).
    virtual void UpdateWorkType() = 0;
    virtual void RefreshColours() = 0;

    // The worker, for tests.
    TCheckWorkType* Worker() const { return worker_.get(); }

    // Closing (終了, the close box, Esc) with changes that were not registered
    // asks first; false keeps the form open.
    void reject() override;

  protected:
    TWageForm(const WageFormContext& context, bool sortedIds, QWidget* parent);

    // Helpers for building the window.
    QLabel* MakeLabel(const QString& name, const QString& text, int x, int y, int w, int h = 16);
    QCheckBox* MakeCheckBox(const QString& name, const QString& text, int x, int y, int w,
                            int h = 18);
    // A button of the form's top bar, 48 wide at `x`, passed over by Tab and
    // pressed from the keyboard with `key`.
    TPanelButton* MakeBarButton(const QString& name, const QString& caption, const QString& hint,
                                const QPixmap& glyph, int x, const QKeySequence& key);
    // Glyph strips of the two buttons the toolbar pictures do not cover.
    static QPixmap RevertGlyph();
    static QPixmap UnifyGlyph();
    // A rate field with its scroll bar (tag `tag`, both objectNames given).
    void MakeRateField(int tag, const QString& editName, const QString& barName, int x, int y,
                       int editWidth);
    QSlider* MakeSlider(const QString& name, int x, int y, int w);
    QLineEdit* MakeTimeText(const QString& name, int x, int y, int w);
    void MakeIdAndName(int labelX, int fieldX, int y);
    void MakeClosingDay(int x, int y, int labelWidth, const QString& label);

    void SetRateAmount(int tag, int amount);
    int RateAmount(int tag) const;
    // The amount a scroll bar stands for: |position − 32,000|.
    int BarAmount(int tag) const;
    void SetBarAmount(int tag, int amount);
    bool RateEnabled(int tag) const;

    // 0 for "月末", else the day shown.
    int ClosingDayValue() const;
    void ShowClosingDay(int day);

    // Runs the leave handling of the rate or closing-day field that holds the
    // focus: the panel buttons never take the focus, so without it an amount
    // still being typed would be stored unchecked.
    void CommitFocusedField();

    // The ID list of the form's scheme, freshly read; selects the first.
    void FillIdList(PayScheme scheme);
    // Looks the ID up and reports the status of the scheme `scheme` form.
    // Returns the pay scheme the ID is registered under (nothing when it is
    // not registered in this program).
    std::optional<PayScheme> ShowIdStatus(QLabel* status, PayScheme scheme);

    // After an ID lookup: an ID that has just been chosen and is not registered
    // under a wage scheme starts from the defaults rather than from the previous
    // employee's conditions (what the operator has set meanwhile, or typed before
    // a registration was refused, stays). What the form then shows counts as
    // unchanged until the operator edits it.
    // `untouched` is Untouched() from before the lookup changed the name.
    void AfterIdLookup(std::optional<PayScheme> registered, PayScheme ownScheme, bool untouched,
                       const std::function<void()>& showDefaults);
    // Nothing changed since the last lookup showed the form.
    bool Untouched() const;
    // The state of every control that goes into a registration.
    QStringList ControlStates() const;

    // Registers the form's employee; false (after the scheme warning) when the
    // ID belongs to the other scheme.
    bool CheckSchemeChange(PayScheme otherScheme);
    void DeleteSelectedEmployee();

    void SetTextColour(QWidget* widget, bool valid);
    QColor ValidColour() const;
    QColor InvalidColour() const;

    // Marks Enter as "next control" for these widgets.
    void EnterMovesFocus(QWidget* widget);
    // Runs `work`; a failure of the file system ends it with the error box.
    void Guard(const std::function<void()>& work);
    // The help file's page for this form, or word that the file is missing.
    void ShowHelp();
    void StartWorker();

    bool eventFilter(QObject* watched, QEvent* event) override;
    // Form-specific keys; true when consumed.
    virtual bool FormKeyFilter(QObject* watched, QKeyEvent* event);

    WageFormContext context_;
    bool sortedIds_;

    QComboBox* IDCB = nullptr;
    QLineEdit* NameEdit = nullptr;
    TNumEdit* ClosingDayEdit = nullptr;
    QScrollBar* ClosingDaySB = nullptr;
    QCheckBox* ClosingDayCB = nullptr;
    TPanelButton* deleteButton_ = nullptr;

    std::vector<TNumEdit*> payEdits_;   // by tag
    std::vector<QScrollBar*> payBars_;  // by tag

  private:
    std::unique_ptr<TCheckWorkType> worker_;
    QString lookedUpId_;
    bool lookedUp_ = false;
    QStringList shownStates_;
};

}  // namespace pb
