// Renders every control in every state to PNG files, to look at them.
//   controls-gallery [FOLDER]   (default: ./gallery)
#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "controls/bitpanel.h"
#include "controls/colorbutton.h"
#include "controls/numedit.h"
#include "controls/volume.h"

namespace {

QWidget* Captioned(const QString& text, QWidget* control) {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(control, 0, Qt::AlignHCenter);
    auto* label = new QLabel(text);
    label->setAlignment(Qt::AlignHCenter);
    layout->addWidget(label);
    return box;
}

void Save(QWidget& w, const QString& folder, const QString& name, qreal scale = 1.0) {
    w.adjustSize();
    w.show();
    QApplication::processEvents();
    QImage image(w.size() * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(w.palette().color(QPalette::Window));
    w.render(&image);
    image.save(folder + "/" + name + ".png");
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery");
    QDir().mkpath(folder);

    // Knobs: 25 px as the editors use them, in each state, and large.
    for (qreal scale : {1.0, 3.0}) {
        QWidget sheet;
        auto* row = new QHBoxLayout(&sheet);
        for (int value : {0, 32, 64, 96, 127}) {
            auto* knob = new TVolume;
            knob->setFixedSize(25, 25);
            knob->SetPosition(value);
            row->addWidget(Captioned(QString::number(value), knob));
        }
        auto* focused = new TVolume;
        focused->setFixedSize(25, 25);
        focused->SetPosition(90);
        row->addWidget(Captioned("focused", focused));
        auto* disabled = new TVolume;
        disabled->setFixedSize(25, 25);
        disabled->SetPosition(40);
        disabled->setEnabled(false);
        row->addWidget(Captioned("disabled", disabled));
        auto* big = new TVolume;
        big->setFixedSize(64, 64);
        big->SetPosition(80);
        row->addWidget(Captioned("64 px", big));
        sheet.show();
        focused->setFocus();
        Save(sheet, folder, scale == 1.0 ? "knobs" : "knobs@3x", scale);
    }

    // Numeric edits.
    {
        QWidget sheet;
        auto* row = new QHBoxLayout(&sheet);
        auto* freq = new TNumEdit;
        freq->OnSetText = [](int code) { return QString::number(40 + 10 * code); };
        freq->SetMax(1296);
        freq->SetValue(96);
        freq->setFixedWidth(70);
        row->addWidget(Captioned("Freq", freq));
        auto* plain = new TNumEdit;
        plain->SetValue(42);
        plain->setFixedWidth(70);
        row->addWidget(Captioned("plain", plain));
        auto* off = new TNumEdit;
        off->SetValue(7);
        off->setFixedWidth(70);
        off->setEnabled(false);
        row->addWidget(Captioned("disabled", off));
        auto* cursors = new QLabel;
        QPixmap strip(4 * 26, 24);
        strip.fill(Qt::lightGray);
        QPainter p(&strip);
        int x = 2;
        for (bool up : {true, false}) {
            for (bool pressed : {false, true}) {
                p.drawPixmap(x, 1, TNumEdit::StepCursor(up, pressed).pixmap());
                x += 26;
            }
        }
        p.end();
        cursors->setPixmap(strip);
        row->addWidget(Captioned("cursors", cursors));
        Save(sheet, folder, "numedits");
    }

    // Colour buttons.
    {
        QWidget sheet;
        auto* row = new QHBoxLayout(&sheet);
        const std::pair<QString, QColor> buttons[] = {{"ON", QColor(220, 40, 40)}, {"OFF", QColor(120, 0, 0)},
                                                      {"OnLine", QColor(40, 200, 80)}, {"RecvAll", QColor(200, 200, 60)}};
        for (const auto& [caption, colour] : buttons) {
            auto* b = new TColorButton;
            b->SetCaption(caption);
            b->SetColor(colour);
            b->setFixedSize(50, 25);
            row->addWidget(Captioned("normal", b));
        }
        auto* down = new TColorButton;
        down->SetCaption("ON");
        down->SetColor(QColor(220, 40, 40));
        down->SetDown(true);
        down->setFixedSize(50, 25);
        row->addWidget(Captioned("down", down));
        auto* disabled = new TColorButton;
        disabled->SetCaption("SendAll");
        disabled->SetColor(QColor(200, 200, 60));
        disabled->setEnabled(false);
        disabled->setFixedSize(50, 25);
        row->addWidget(Captioned("disabled", disabled));
        Save(sheet, folder, "colorbuttons");
    }

    // Bitmap panel in its three layouts.
    {
        QWidget sheet;
        auto* row = new QHBoxLayout(&sheet);
        QPixmap tile(24, 16);
        tile.fill(QColor(70, 90, 140));
        QPainter p(&tile);
        p.setPen(QColor(250, 200, 60));
        p.drawEllipse(QRect(4, 2, 12, 12));
        p.end();
        for (auto [layout, name] : {std::pair{TBitPanel::blSingle, "blSingle"}, std::pair{TBitPanel::blMulti, "blMulti"},
                                   std::pair{TBitPanel::blCenter, "blCenter"}}) {
            auto* panel = new TBitPanel;
            panel->setFixedSize(90, 60);
            panel->SetBitmap(tile);
            panel->SetLayout(layout);
            panel->SetBevels(TBitPanel::bvRaised, TBitPanel::bvLowered);
            panel->SetBorderWidth(2);
            row->addWidget(Captioned(name, panel));
        }
        Save(sheet, folder, "bitpanels");
    }
    return 0;
}
