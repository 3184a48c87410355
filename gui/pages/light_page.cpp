#include "gui/pages/light_page.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "gui/skin_widgets.h"
#include "gui/window_controls.h"
#include "base/layout_state.h"

namespace kvr {

namespace {

QString controlName(std::string_view name) {
    return QString::fromUtf8(name.data(), qsizetype(name.size()));
}

// The panel pictures beside the standard one (the breathing modes).
QString panelSuffix(LightControlSet set, bool allNTTimes) {
    switch (set) {
        case LightControlSet::NT:
            return allNTTimes ? "NT" : "NTFirst";
        case LightControlSet::ColorModes:
            return "Color";
        default:
            return {};
    }
}

// The panel picture paints each choice's word to the right of its indicator; the label, which
// carries no text, is what the pointer clicks, so it spans the indicator and that word.
constexpr int kChoiceLabelWidth = 100;
constexpr int kChoiceLabelHeight = 20;
constexpr int kChoiceGap = 4;


}  // namespace

LightPage::LightPage(PageHost& host, LightModel& light) : WindowPage(host), light_(light) {}

bool LightPage::made() const { return host_.controls().made(kPage); }

void LightPage::controlsMade(int page) {
    if (page != kPage) return;
    WindowControls& controls = host_.controls();
    auto onClick = [&](const QString& label, auto handler) {
        connect(controls.caption("lbl_" + label), &CaptionLabel::clicked, this, handler);
    };
    onClick("MCPIOn", [this] { lbl_MCPIOnClick(true); });
    onClick("MCPIOff", [this] { lbl_MCPIOnClick(false); });
    onClick("LEDKeyOn", [this] { lbl_LEDKeyOnClick(true); });
    onClick("LEDKeyOff", [this] { lbl_LEDKeyOnClick(false); });
    for (int m = 1; m <= 5; ++m)
        onClick(QString("LEDNTMode%1").arg(m), [this, m] { LEDNTMode_OnClick(m); });
    for (int m = 1; m <= 2; ++m)
        onClick(QString("LEDColorMode%1").arg(m), [this, m] { LEDColorMode_OnClick(m); });
    for (int m = 1; m <= 4; ++m)
        onClick(QString("LEDColorBre%1").arg(m), [this, m] { LEDColorBre_OnClick(m); });

    for (const QString& name : kLightChoices)
        controls.caption("lbl_" + name)->setFocusPolicy(Qt::TabFocus);

    // Time fields take digits and Backspace only.
    auto* digits = new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this);
    for (const TimeFieldInfo& info : timeFields()) {
        QLineEdit* edit = timeEdit(info.field);
        edit->setValidator(digits);
        connect(edit, &QLineEdit::textEdited, this,
                [this, field = info.field](const QString& text) {
                    light_.setTimeText(field, text.toStdString());
                });
        connect(edit, &QLineEdit::editingFinished, this,
                [this, field = info.field] { timeFieldExit(field); });
    }
    render();
}

QLineEdit* LightPage::timeEdit(TimeField field) const {
    return host_.controls().get<QLineEdit>(controlName(timeFieldInfo(field).control));
}

void LightPage::showChoice(const QString& name, bool shown, bool chosen) {
    WindowControls& controls = host_.controls();
    controls.find("Img_" + name)->setVisible(shown);
    controls.find("lbl_" + name)->setVisible(shown);
    host_.setPicture("Img_" + name, chosen ? "RdS_E" : "RdS_D");
    controls.get<QRadioButton>("rb_" + name)->setChecked(chosen);
}

void LightPage::render() {
    if (!made()) return;
    renderChoices();
    showFieldTexts();
    for (const TimeFieldInfo& f : timeFields())
        timeEdit(f.field)->setVisible(light_.timeFieldShown(f.field));
    showPanel();
    placeChoiceLabels();
}

void LightPage::placeChoiceLabels() {
    WindowControls& controls = host_.controls();
    const QRect panel = controls.find("Img_P3")->geometry();
    std::vector<QWidget*> labels;
    for (const QString& name : kLightChoices) labels.push_back(controls.find("lbl_" + name));
    for (QWidget* label : labels) {
        const QPoint at = label->pos();
        // Up to the next choice on the same row, and never past the panel.
        int right = std::min(at.x() + kChoiceLabelWidth, panel.right());
        for (QWidget* other : labels) {
            const QPoint o = other->pos();
            if (other != label && other->isVisibleTo(label->parentWidget()) &&
                std::abs(o.y() - at.y()) <= kChoiceGap && o.x() > at.x())
                right = std::min(right, o.x() - kChoiceGap);
        }
        label->resize(std::max(right - at.x(), 2 * kChoiceGap), kChoiceLabelHeight);
    }
}

void LightPage::showFieldTexts() {
    if (!made()) return;
    for (const TimeFieldInfo& f : timeFields())
        timeEdit(f.field)->setText(qText(light_.timeText(f.field)));
}

void LightPage::renderChoices() {
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
}

QString LightPage::panelPicture(const QString& standard) const {
    return standard +
           panelSuffix(light_.controlSet(), light_.timeFieldShown(TimeField::NTMode2Time));
}

// The panel names the choices of the control set shown, so it follows every load and language.
void LightPage::showPanel() {
    const QString standard = QString("L%1_Back3").arg(host_.layoutState().LanguageIndex());
    host_.setPicture("Img_P3", panelPicture(standard));
}

void LightPage::languageChanged() {
    if (!made()) return;
    showPanel();
    placeChoiceLabels();
}

void LightPage::deviceLost() { light_.clearWords(); }

void LightPage::lbl_MCPIOnClick(bool on) {
    light_.lbl_MCPIOnClick(on);
    renderChoices();
}

void LightPage::lbl_LEDKeyOnClick(bool on) {
    light_.lbl_LEDKeyOnClick(on);
    renderChoices();
}

void LightPage::LEDNTMode_OnClick(int mode) {
    light_.LEDNTMode_OnClick(mode);
    renderChoices();
}

void LightPage::LEDColorMode_OnClick(int mode) {
    light_.LEDColorMode_OnClick(mode);
    renderChoices();
}

void LightPage::LEDColorBre_OnClick(int mode) {
    light_.LEDColorBre_OnClick(mode);
    renderChoices();
}

void LightPage::timeFieldExit(TimeField field) {
    light_.setTimeText(field, timeEdit(field)->text().toStdString());
    light_.timeFieldExit(field);
    timeEdit(field)->setText(qText(light_.timeText(field)));
}

}  // namespace kvr
