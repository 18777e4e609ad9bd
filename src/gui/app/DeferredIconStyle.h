#pragma once
// The application's style, with its standard icons (the menu bar's extension
// arrow, the buttons on a child window's title bar) read only when one is first
// drawn. Reading any of them loads every image plugin, and the main window's
// first paint shows none of them.

#include <QProxyStyle>

namespace pb {

class DeferredIconStyle : public QProxyStyle {
    Q_OBJECT
  public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

}  // namespace pb
