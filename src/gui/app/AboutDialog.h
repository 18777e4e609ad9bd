#pragma once
// The about dialog: product name and version on a green panel, and the data
// folder the program works in.

#include <QDialog>

namespace pb {

class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    // The pale colour both 3D labels are drawn in, RGB (209, 254, 243).
    static constexpr QRgb kTextColor = 0xD1FEF3;

    explicit AboutDialog(const QString& dataFolder, QWidget* parent = nullptr);
};

}  // namespace pb
