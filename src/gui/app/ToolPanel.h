#pragma once
// The main window's toolbar: panel buttons from the left, and at the right the
// two labels drawn in the font colours of the settings.

#include <QString>
#include <QWidget>

#include "core/model/Settings.h"

class QLabel;

namespace pb {

class TPanelButton;

class ToolPanel : public QWidget {
    Q_OBJECT
  public:
    explicit ToolPanel(QWidget* parent = nullptr);

    // A button at the next place from the left; `glyph` names its picture.
    TPanelButton* AddButton(const QString& name, const QString& caption, const QString& hint,
                            const QString& glyph);
    // Colours "有効フォント色" and "無効フォント色".
    void ShowColours(const FontColorSettings& colours);
    // The colour dialog for the valid or the invalid colour; on OK the colour
    // is stored in `colours` and shown. False when the operator cancels.
    bool PickColour(bool valid, FontColorSettings& colours);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    int nextX_ = 2;
    QLabel* validLabel_ = nullptr;
    QLabel* invalidLabel_ = nullptr;
};

}  // namespace pb
