#include "gui/pages/advanced_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include "gui/skin_widgets.h"
#include "gui/window_controls.h"
#include "base/layout_state.h"
#include "settings/sensitivity_model.h"

namespace kvr {

namespace {

QColor toColor(Colour c) { return QColor(c.red(), c.green(), c.blue()); }

// The scales' controls are Img_<name>1..10 with the caption lbl_<name>1..10 over each segment.
struct ScaleControls {
    PointerScale scale;
    const char* name;
    void (AdvancedPage::*clicked)(int segment);
};
constexpr ScaleControls kScales[] = {
    {PointerScale::Speed, "Spd", &AdvancedPage::MseSpd_OnClick},
    {PointerScale::DoubleClick, "DbSpd", &AdvancedPage::MseDbSpd_OnClick},
    {PointerScale::ScrollLines, "ScrSpd", &AdvancedPage::MseScrSpd_OnClick}};

const char* scaleName(PointerScale scale) {
    for (const ScaleControls& s : kScales) {
        if (s.scale == scale) return s.name;
    }
    return "";
}

}  // namespace

AdvancedPage::AdvancedPage(PageHost& host, SensitivityModel& sensitivity,
                           PointerSettingsStore& pointerStore)
    : WindowPage(host), sensitivity_(sensitivity), pointerStore_(pointerStore) {}

bool AdvancedPage::made() const { return host_.controls().made(kPage); }

void AdvancedPage::controlsMade(int page) {
    if (page != kPage) return;
    WindowControls& controls = host_.controls();
    // Colour fields take digits and Backspace only.
    auto* digits = new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this);
    for (int n = 1; n <= SensitivityModel::kLevels; ++n) {
        const QString level = QString::number(n);
        connect(controls.caption("lbl_DPI" + level), &CaptionLabel::clicked, this,
                [this, n] { DPILevel_OnClick(n); });
        connect(controls.image("Img_DPI" + level), &SkinImage::pressed, this,
                [this, n] { CurrentDPI_OnClick(n); });
        for (int k = 1; k <= SensitivityModel::kSteps; ++k) {
            connect(controls.image(QString("Img_DPI%1_%2").arg(n).arg(k)), &SkinImage::pressed,
                    this, [this, n, k] { DPIVlaue_OnClick(n, k); });
        }
        QLineEdit* field = colourField(n);
        field->setValidator(digits);
        connect(field, &QLineEdit::textEdited, this, [this, n](const QString& text) {
            sensitivity_.setColorText(n, text.toStdString());
        });
        connect(field, &QLineEdit::editingFinished, this, [this, n] { RefreshCPIColorValue(n); });
    }
    // The scales answer the pointer over their segments and signs, above the panel and captions.
    for (std::size_t i = 0; i < std::size(kScales); ++i) {
        const ScaleControls& s = kScales[i];
        QWidget* page = controls.find(QString("Img_") + s.name + "1")->parentWidget();
        tracks_[i] = new ScaleTrack(
            QString("Trk_%1").arg(s.name), page, [this, scale = s.scale] { return pointer_.level(scale); },
            [this, clicked = s.clicked](int k) { (this->*clicked)(k); });
        // Under the page's input shield, which covers everything during a transfer.
        tracks_[i]->stackUnder(controls.find("Disable_All_2"));
    }
    if (desktopReadOwed_) readDesktop();
    render();
}

void AdvancedPage::placeScaleTracks() {
    for (std::size_t i = 0; i < std::size(kScales); ++i)
        tracks_[i]->place(host_.controls().find(QString("Img_") + kScales[i].name + "1")->geometry());
}

void AdvancedPage::languageChanged() {
    if (made()) placeScaleTracks();
}

QLineEdit* AdvancedPage::colourField(int n) const {
    return host_.controls().get<QLineEdit>(QString("Edt_CPI%1Color").arg(n));
}

void AdvancedPage::render() {
    if (!made()) return;
    renderLevels();
    showFieldTexts();
    for (const ScaleControls& s : kScales) renderScale(s.scale);
    placeScaleTracks();
}

namespace {
const QColor kDimValue(0x72, 0x71, 0x71);  // as a field that takes no input
}  // namespace

void AdvancedPage::renderLevels() {
    WindowControls& controls = host_.controls();
    const QColor inUse = toColor(host_.layoutState().values().DpiSelectedColor);
    const QColor notInUse = toColor(host_.layoutState().values().DpiNormalColor);
    for (int n = 1; n <= SensitivityModel::kLevels; ++n) {
        const QString level = QString::number(n);
        setTextColour(controls.find("lbl_DPI" + level), sensitivity_.inUse(n) ? inUse : notInUse);
        const bool enabled = sensitivity_.controlsEnabled(n);
        // A value reads like those of the first levels once its level can be set; dim before.
        auto* value = controls.get<QLabel>("lbl_DPI" + level + "Value");
        value->setText(qText(sensitivity_.valueText(n)));
        setTextColour(value, enabled ? notInUse : kDimValue);
        for (int k = 1; k <= SensitivityModel::kSteps; ++k) {
            const QString segment = QString("Img_DPI%1_%2").arg(n).arg(k);
            host_.setPicture(segment, k <= sensitivity_.litSegments(n) ? "Bar2_E" : "Bar2_D");
            controls.find(segment)->setEnabled(enabled);
        }
        host_.setPicture("Img_DPI" + level, sensitivity_.currentLevel() == n ? "CbS_E" : "CbS_D");
        controls.find("Img_DPI" + level)->setEnabled(enabled);
        controls.get<QRadioButton>("rb_DPI" + level)->setChecked(sensitivity_.currentLevel() == n);
    }
}

void AdvancedPage::renderScale(PointerScale scale) {
    const int level = pointer_.level(scale);
    for (int k = 1; k <= PointerSettingsModel::kLevels; ++k) {
        host_.setPicture(QString("Img_%1%2").arg(scaleName(scale)).arg(k),
                         k <= level ? "Bar1_E" : "Bar1_D");
    }
}

void AdvancedPage::DPILevel_OnClick(int n) {
    if (sensitivity_.DPILevel_OnClick(n)) renderLevels();
}

void AdvancedPage::CurrentDPI_OnClick(int n) {
    if (sensitivity_.CurrentDPI_OnClick(n)) renderLevels();
}

void AdvancedPage::DPIVlaue_OnClick(int n, int k) {
    if (sensitivity_.stepClicked(n, k)) renderLevels();
}

void AdvancedPage::RefreshCPIColorValue(int n) {
    sensitivity_.setColorText(n, colourField(n)->text().toStdString());
    sensitivity_.RefreshCPIColorValue(n);
    colourField(n)->setText(qText(sensitivity_.colorText(n)));
}

void AdvancedPage::MseSpd_OnClick(int k) {
    if (pointer_.MseSpd_OnClick(k)) renderScale(PointerScale::Speed);
}

void AdvancedPage::MseDbSpd_OnClick(int k) {
    if (pointer_.MseDbSpd_OnClick(k)) renderScale(PointerScale::DoubleClick);
}

void AdvancedPage::MseScrSpd_OnClick(int k) {
    if (pointer_.MseScrSpd_OnClick(k)) renderScale(PointerScale::ScrollLines);
}

void AdvancedPage::refreshPointerSettings() {
    if (!made()) {
        desktopReadOwed_ = true;
        return;
    }
    readDesktop();
    for (const ScaleControls& s : kScales) renderScale(s.scale);
}

void AdvancedPage::readDesktop() {
    pointer_.refresh(pointerStore_);
    settledLevels_ = scaleLevels();
    desktopReadOwed_ = false;
}

void AdvancedPage::applyPointerSettings() {
    // The desktop's own values, as it holds them now, go back unchanged.
    if (desktopReadOwed_) readDesktop();
    pointer_.apply(pointerStore_);
    settledLevels_ = scaleLevels();
}

bool AdvancedPage::pointerSettingsPending() const { return scaleLevels() != settledLevels_; }

std::array<int, 3> AdvancedPage::scaleLevels() const {
    std::array<int, 3> levels{};
    for (std::size_t i = 0; i < levels.size(); ++i) levels[i] = pointer_.level(kScales[i].scale);
    return levels;
}

void AdvancedPage::showFieldTexts() {
    if (!made()) return;
    for (int n = 1; n <= SensitivityModel::kLevels; ++n)
        colourField(n)->setText(qText(sensitivity_.colorText(n)));
}

}  // namespace kvr
