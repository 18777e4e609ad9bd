#pragma once
// What the two update confirmation dialogs share: the bar with 更新 and 中止, the
// flashing question, and the table of stored against new values, whose rows are
// drawn in ValidColor where the two differ and in InvalidColor where they agree.

#include <QColor>
#include <QDialog>
#include <QString>
#include <QStringList>
#include <string>

#include "core/store/DataFiles.h"

class QLabel;
class QTableWidget;
class QTimer;

namespace pb {

struct Settings;
class TPanelButton;

class UpdateDialog : public QDialog {
    Q_OBJECT
  public:
    // Modal results.
    static constexpr int kUpdate = 1;
    static constexpr int kCancel = 2;

    QTableWidget* Grid() const { return grid_; }
    // The colour row `row` is drawn in: the texts of columns 1 and 2 compared.
    QColor RowColour(int row) const;
    // The table's rows fit without a vertical scroll bar at this window height.
    int FullHeight() const;
    // The height the dialog opens with: FullHeight() when the screen has room.
    int OpeningHeight() const;
    int NarrowWidth() const { return narrowWidth_; }
    int WideWidth() const { return wideWidth_; }

    void FormActivate();
    void FormResize();
    void Flash();
    void UpdateClicked();
    void CancelClicked();

    // The close box and Esc cancel like 中止.
    void reject() override;

  protected:
    // `rowLabels` are the texts of column 0 from row 2 on, `newValues` the
    // new record's beside them; `heightBounded` limits the height to the
    // table's full height.
    UpdateDialog(const DataFiles& files, const Settings& settings, const std::string& id,
                 const std::string& newName, const QStringList& rowLabels,
                 const QStringList& newValues, bool heightBounded, QWidget* parent);

    // The values of rows 2 … of the wage record in force of the ID (empty when
    // nothing is on file). Throws when a file cannot be read.
    virtual QStringList StoredValues(const DataFiles& files, const std::string& id) const = 0;

    // FillCompareColumn: the values of rows 2 … into column `column`.
    void FillCompareColumn(const QStringList& values, int column);

    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // The stored name and values; both empty when the files cannot be read.
    void ReadStored(QString& name, QStringList& values) const;

    const DataFiles& files_;
    const Settings& settings_;
    std::string id_;
    QString newName_;
    QStringList rowLabels_;
    QStringList newValues_;
    bool heightBounded_;
    int narrowWidth_ = 0;
    int wideWidth_ = 0;
    bool resizing_ = false;

    TPanelButton* update_ = nullptr;
    TPanelButton* cancel_ = nullptr;
    QLabel* question_ = nullptr;
    QTableWidget* grid_ = nullptr;
    QTimer* flashTimer_ = nullptr;
};

}  // namespace pb
