// Painting the main window's row of glyph buttons and typing an amount into a
// money field: the two things the controls do most.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QWidget>
#include <vector>

#include "gui/controls/NumEdit.h"
#include "gui/controls/Pbutton.h"

namespace {

QPixmap Strip() {
    QImage image(32, 16, QImage::Format_RGB32);
    image.fill(QColor::fromRgb(pb::TPanelButton::kDefaultTransparentColor));
    QPainter painter(&image);
    painter.fillRect(3, 3, 10, 10, Qt::blue);
    painter.end();
    return QPixmap::fromImage(image);
}

// A toolbar of twelve 48x48 buttons rendered into one image.
void BM_PaintToolbar(benchmark::State& state) {
    QWidget bar;
    bar.resize(12 * 50, 50);
    const QPixmap glyph = Strip();
    for (int i = 0; i < 12; ++i) {
        auto* button = new pb::TPanelButton(&bar);
        button->setGeometry(i * 50, 1, 48, 48);
        button->setCaption(QStringLiteral("登録"));
        button->setGlyph(glyph);
        button->setButtonLayout(pb::blGlyphTop);
        if (i % 3 == 0)
            button->setBevelInner(pb::bvRaised);
    }
    QImage target(bar.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        bar.render(&target);
        benchmark::DoNotOptimize(target.bits());
    }
}
BENCHMARK(BM_PaintToolbar)->Unit(benchmark::kMicrosecond);

// Five digits, a Backspace and a correction into a yen field.
void BM_TypeAmount(benchmark::State& state) {
    pb::TNumEdit edit;
    edit.setCanNegative(false);
    edit.setLeadingChar('\x5C');
    edit.setZeroDisplay(true);
    edit.setMaxDegits(5);
    for (auto _ : state) {
        edit.setValue(0);
        for (Qt::Key key : {Qt::Key_3, Qt::Key_2, Qt::Key_0, Qt::Key_0, Qt::Key_9,
                            Qt::Key_Backspace, Qt::Key_0}) {
            const QString text = key == Qt::Key_Backspace ? QString() : QString(QChar(key));
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
            QApplication::sendEvent(&edit, &press);
        }
        benchmark::DoNotOptimize(edit.value());
    }
}
BENCHMARK(BM_TypeAmount)->Unit(benchmark::kMicrosecond);

}  // namespace
