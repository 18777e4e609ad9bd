#pragma once
// The data conversion dialog: the operator picks old employees to take over,
// runs the conversion and may put every backup back in one step.

#include <QDialog>

#include "core/convert/DataConversion.h"
#include "core/store/DataFiles.h"

class QListWidget;
class QPushButton;

namespace pb {

class TPanelButton;

class TChangeD : public QDialog {
    Q_OBJECT

  public:
    explicit TChangeD(const DataFiles& files, QWidget* parent = nullptr);

    // True once a run or a restore has changed the data files.
    bool FilesChanged() const { return filesChanged_; }

  private slots:
    void FormCreate();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void StartClicked();
    void RestoreClicked();
    void CloseClicked();

  private:
    ConversionLists Lists() const;
    void Show(const ConversionLists& lists);

    const DataFiles& files_;
    bool filesChanged_ = false;
    TPanelButton* startButton_;
    TPanelButton* restoreButton_;
    TPanelButton* closeButton_;
    QListWidget* ListBox1;
    QListWidget* ListBox2;
    QListWidget* ListBox3;
    QListWidget* ListBox4;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* BitBtn3;
    QPushButton* BitBtn4;
};

}  // namespace pb
