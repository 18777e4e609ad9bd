#pragma once
// What the two update confirmation dialogs share: the bar with 更新 and 中止, the
// flashing question, and the table of stored against new values, whose rows are
// drawn in ValidColor where the two differ and in InvalidColor where they agree.

#include <QColor>
#include <QDialog>
#include <QString>
#include <QStringList>

class QLabel;
class QTableWidget;
class QTimer;

namespace pb {

struct Settings;
class TPanelButton;

class TReNewDlg : public QDialog {
    Q_OBJECT
  public:
    // Modal results.
    static constexpr int kUpdate = 1;
    static constexpr int kCancel = 2;

    QTableWidget* Grid() const { return StringGrid1; }
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
    void Timer1Timer();
    void PanelButton1Click();
    void PanelButton2Click();

    // The close box and Esc cancel like 中止.
    void reject() override;

  protected:
    // `rowLabels` are the texts of column 0 from row 2 on; `heightBounded`
    // limits the height to the table's full height.
    TReNewDlg(const Settings& settings, const QString& id, const QString& newName,
              const QStringList& rowLabels, bool heightBounded, QWidget* parent);

    // Reads the stored data: the stored name, and the stored values of rows 2 …
    // (empty when nothing is on file).
    virtual void ReadStored(QString& name, QStringList& values) const = 0;
    virtual QStringList NewValues() const = 0;

    // FillCompareColumn: the values of rows 2 … into column `column`.
    void FillCompareColumn(const QStringList& values, int column);

    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    const Settings& settings_;
    QString id_;
    QString newName_;
    QStringList rowLabels_;
    bool heightBounded_;
    int narrowWidth_ = 0;
    int wideWidth_ = 0;
    bool resizing_ = false;

    TPanelButton* PanelButton1 = nullptr;
    TPanelButton* PanelButton2 = nullptr;
    QLabel* Label1 = nullptr;
    QTableWidget* StringGrid1 = nullptr;
    QTimer* Timer1 = nullptr;
};

}  // namespace pb
