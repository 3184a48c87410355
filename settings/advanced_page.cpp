#include "settings/advanced_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "app/window_controls.h"
#include "base/layout_state.h"
#include "settings/sensitivity_model.h"

namespace kvr {

namespace {
QColor toColor(Colour c) { return QColor(c.red(), c.green(), c.blue()); }
}  // namespace

AdvancedPage::AdvancedPage(PageHost& host, SensitivityModel& sensitivity)
    : WindowPage(host), sensitivity_(sensitivity) {}

void AdvancedPage::render() {
    WindowControls& controls = host_.controls();
    const QColor inUse = toColor(host_.layoutState().values().DpiSelectedColor);
    const QColor notInUse = toColor(host_.layoutState().values().DpiNormalColor);
    for (int n = 1; n <= 8; ++n) {
        const QString level = QString::number(n);
        setTextColour(controls.find("lbl_DPI" + level), sensitivity_.inUse(n) ? inUse : notInUse);
        controls.get<QLabel>("lbl_DPI" + level + "Value")->setText(qText(sensitivity_.valueText(n)));
        const bool enabled = sensitivity_.controlsEnabled(n);
        for (int k = 1; k <= 8; ++k) {
            const QString segment = QString("Img_DPI%1_%2").arg(n).arg(k);
            host_.setPicture(segment, k <= sensitivity_.litSegments(n) ? "Bar2_E" : "Bar2_D");
            controls.find(segment)->setEnabled(enabled);
        }
        host_.setPicture("Img_DPI" + level, sensitivity_.currentLevel() == n ? "CbS_E" : "CbS_D");
        controls.find("Img_DPI" + level)->setEnabled(enabled);
        controls.get<QRadioButton>("rb_DPI" + level)->setChecked(sensitivity_.currentLevel() == n);
        controls.get<QLineEdit>("Edt_CPI" + level + "Color")->setText(qText(sensitivity_.colorText(n)));
    }
}

}  // namespace kvr
