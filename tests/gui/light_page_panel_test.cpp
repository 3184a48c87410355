#include <gtest/gtest.h>

#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <cstdlib>

#include "gui/dialogs.h"
#include "gui/window_controls.h"
#include "base/layout_state.h"
#include "gui/images/pictures.h"
#include "device/pacer.h"
#include "gui/pages/light_page.h"

namespace kvr::test {
namespace {

// The light page alone on the window's controls, recording the pictures it sets.
class PictureRecordingHost final : public PageHost {
public:
    PictureRecordingHost() : controls_(&window_) {}
    WindowControls& controls() override { return controls_; }
    void setPicture(const QString& image, const QString& picture) override {
        pictures[image] = picture;
    }
    void setLabelCaption(const QString& label, const QString& text) override {
        if (auto* l = controls_.get<QLabel>(label)) l->setText(text);
    }
    const LayoutState& layoutState() const override { return layout_; }
    QString messageText(const char*) const override { return {}; }
    QString titleText() const override { return {}; }
    Dialogs& dialogs() override { return dialogs_; }
    Pacer& pacer() override { return pacer_; }
    bool mouseOpen() const override { return true; }
    ReadWriteCycle& cycle() override { std::abort(); }  // the page never transfers

    QHash<QString, QString> pictures;

private:
    QWidget window_;
    WindowControls controls_;
    LayoutState layout_;
    RecordingDialogs dialogs_;
    VirtualPacer pacer_;
};

TEST(LightPagePanel, NamesTheModesTheMouseOffersWithTheTimesItsVariantHas) {
    struct Case {
        int variant;
        std::uint8_t flags;
        const char* panel;
        bool ntTimesBeyondTheFirst;
    };
    const Case cases[] = {
        {1, 0x00, "L1_Back3NT", true},
        {2, 0x40, "L1_Back3NTFirst", false},
        {1, 0x0C, "L1_Back3Color", false},
        {2, 0x1C, "L1_Back3", false},
    };
    for (const Case& c : cases) {
        PictureRecordingHost host;
        LightModel light;
        LightPage page(host, light);
        // As the window does when the page first opens.
        host.controls().setOnMade([&page](int p, const QStringList&) { page.controlsMade(p); });
        host.controls().makePage(3);
        light.loadConfigFlags(c.flags, c.variant);
        page.render();
        EXPECT_EQ(host.pictures["Img_P3"], c.panel) << int(c.flags) << "/" << c.variant;
        EXPECT_EQ(!host.controls().find("edt_LEDNTMode2Time")->isHidden(), c.ntTimesBeyondTheFirst);
        EXPECT_EQ(!host.controls().find("edt_LEDNTMode3Count")->isHidden(),
                  c.ntTimesBeyondTheFirst);
        page.deviceLost();
        page.languageChanged();
        EXPECT_EQ(host.pictures["Img_P3"], "L1_Back3") << "no light type known";
    }
}

TEST(LightPagePanel, EveryLanguageHasAPanelForEveryModeSet) {
    for (int language = 1; language <= 3; ++language) {
        for (const char* set : {"", "NT", "NTFirst", "Color"}) {
            const std::string name = "L" + std::to_string(language) + "_Back3" + set;
            EXPECT_TRUE(findPicture(name)) << name;
        }
    }
}

}  // namespace
}  // namespace kvr::test
