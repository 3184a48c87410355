#include "settings/light_page.h"

#include <QLineEdit>
#include <QRadioButton>

#include "app/window_controls.h"
#include "settings/light_model.h"

namespace kvr {

LightPage::LightPage(PageHost& host, LightModel& light) : WindowPage(host), light_(light) {}

void LightPage::showChoice(const QString& name, bool shown, bool chosen) {
    WindowControls& controls = host_.controls();
    controls.find("Img_" + name)->setVisible(shown);
    controls.find("lbl_" + name)->setVisible(shown);
    host_.setPicture("Img_" + name, chosen ? "RdS_E" : "RdS_D");
    controls.get<QRadioButton>("rb_" + name)->setChecked(chosen);
}

void LightPage::render() {
    const LightControlSet set = light_.controlSet();
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
        auto* edit = host_.controls().get<QLineEdit>(
            QString::fromUtf8(f.control.data(), qsizetype(f.control.size())));
        edit->setText(qText(light_.timeText(f.field)));
        edit->setVisible(light_.timeFieldShown(f.field));
    }
}

void LightPage::deviceLost() { light_.clearWords(); }

}  // namespace kvr
