// Drawing the pages' models onto their controls after the settings were loaded.
#include <QLineEdit>
#include <QRadioButton>

#include "app/main_window.h"
#include "app/skin_widgets.h"
#include "app/window_controls.h"

namespace kvr {

namespace {
void setTextColour(QWidget* w, const QColor& c) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, c);
    w->setPalette(pal);
}

QString text(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

void TForm1::showPageModels() {
    // Sensitivity levels: in-use colour, step segments, value text, current level, colour.
    const QColor inUse = toQColor(layoutState_.values().DpiSelectedColor);
    const QColor notInUse = toQColor(layoutState_.values().DpiNormalColor);
    for (int n = 1; n <= 8; ++n) {
        const QString level = QString::number(n);
        setTextColour(controls_->find("lbl_DPI" + level), sensitivity_.inUse(n) ? inUse : notInUse);
        controls_->get<QLabel>("lbl_DPI" + level + "Value")->setText(text(sensitivity_.valueText(n)));
        const bool enabled = sensitivity_.controlsEnabled(n);
        for (int k = 1; k <= 8; ++k) {
            const QString segment = QString("Img_DPI%1_%2").arg(n).arg(k);
            setPicture(segment, k <= sensitivity_.litSegments(n) ? "Bar2_E" : "Bar2_D");
            controls_->find(segment)->setEnabled(enabled);
        }
        setPicture("Img_DPI" + level, sensitivity_.currentLevel() == n ? "CbS_E" : "CbS_D");
        controls_->find("Img_DPI" + level)->setEnabled(enabled);
        controls_->get<QRadioButton>("rb_DPI" + level)->setChecked(sensitivity_.currentLevel() == n);
        controls_->get<QLineEdit>("Edt_CPI" + level + "Color")->setText(text(sensitivity_.colorText(n)));
    }
    controls_->get<QLineEdit>("Edt_Repeat1")->setText(text(buttons_.repeatText()));
    controls_->get<QLineEdit>("Edt_DelayTime1")->setText(text(buttons_.delayText()));

    // Breathing light: the control set the mouse's light type offers, and its choices.
    const LightControlSet set = light_.controlSet();
    auto showChoice = [&](const QString& name, bool shown, bool chosen) {
        controls_->find("Img_" + name)->setVisible(shown);
        controls_->find("lbl_" + name)->setVisible(shown);
        setPicture("Img_" + name, chosen ? "RdS_E" : "RdS_D");
        controls_->get<QRadioButton>("rb_" + name)->setChecked(chosen);
    };
    showChoice("MCPIOn", true, light_.mcpi() == OnOff::On);
    showChoice("MCPIOff", true, light_.mcpi() == OnOff::Off);
    showChoice("LEDKeyOn", true, light_.buttonEffect() == OnOff::On);
    showChoice("LEDKeyOff", true, light_.buttonEffect() == OnOff::Off);
    for (int m = 1; m <= 5; ++m)
        showChoice(QString("LEDNTMode%1").arg(m), set == LightControlSet::NT, light_.ntMode() == m);
    for (int m = 1; m <= 2; ++m)
        showChoice(QString("LEDColorMode%1").arg(m), set == LightControlSet::ColorModes,
                   light_.colorMode() == m);
    for (int m = 1; m <= 4; ++m)
        showChoice(QString("LEDColorBre%1").arg(m), set == LightControlSet::Breathing,
                   light_.colorBre() == m);
    for (const TimeFieldInfo& f : timeFields()) {
        auto* edit = controls_->get<QLineEdit>(QString::fromUtf8(f.control.data(), qsizetype(f.control.size())));
        edit->setText(text(light_.timeText(f.field)));
        edit->setVisible(light_.timeFieldShown(f.field));
    }
}

}  // namespace kvr
