#include <QComboBox>

#include "base/layout_controls.h"
#include "window_fixture.h"

namespace kvr::test {
namespace {

TEST_F(WindowTest, EveryControlTheLayoutAddressesExistsInItsContainer) {
    for (const LayoutControl& c : layoutControls()) {
        QWidget* w = find(QString::fromStdString(c.name));
        ASSERT_NE(w, nullptr) << c.name;
        if (!c.container.empty()) {
            EXPECT_EQ(w->parentWidget()->objectName().toStdString(), c.container) << c.name;
        }
    }
}

TEST_F(WindowTest, StartsInLayoutOneWithItsPositionsAndPictures) {
    EXPECT_EQ(find("Key1")->pos(), QPoint(135, 166));
    EXPECT_EQ(find("Img_Apply_3")->pos(), QPoint(640, 49));
    EXPECT_FALSE(find("Btn_Lang3_2")->isVisibleTo(window.get()));
    EXPECT_EQ(picture("Img_Main_1"), "SetS_02");
    EXPECT_EQ(picture("Img_Lang1_4"), "SetS_02");
    EXPECT_EQ(picture("Img_Adv_1"), "SetS_01");
    EXPECT_EQ(picture("Img_Base_2"), "L1_BackGround");
    // Group B captions sit inside the slanted picture.
    EXPECT_EQ(find("Btn_Main_1")->geometry(),
              QRect(50 + 12, 497, find("Img_Main_1")->width() - 24, find("Img_Main_1")->height()));
}

TEST_F(WindowTest, LanguageSwitchRecaptionsAndRetranslatesKeyLabels) {
    plugAndRead();
    click("Btn_Lang2_3");
    EXPECT_EQ(label("Btn_Apply_1")->text(), "Apply");
    EXPECT_EQ(label("Btn_Main_4")->text(), "Main Control");
    EXPECT_EQ(label("Key1")->text(), "Left Key");
    EXPECT_EQ(picture("Img_Lang2_1"), "SetS_02");
    EXPECT_EQ(picture("Img_Lang1_1"), "SetS_01");
    EXPECT_EQ(window->controls().get<QComboBox>("CB_Insert")->itemText(0), "Insert Delay Front");
    click("Btn_Lang1_1");
    EXPECT_EQ(label("Btn_Apply_2")->text(), "Aplicar");
    EXPECT_EQ(label("Key1")->text(), "Botão Esquerdo");
    EXPECT_EQ(window->titleText(), "KVR5507 Gaming Mouse");
}

}  // namespace
}  // namespace kvr::test
