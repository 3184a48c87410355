#include "base/layout_state.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/captions.h"
#include "base/layout_controls.h"
#include "layout_fake.h"

namespace kvr {
namespace {

using test::RecordingWindow;

class WindowLanguage : public ::testing::Test {
protected:
    // The window as start-up leaves it: web buttons placed, layout 1 applied, language 1 chosen.
    void start() {
        ASSERT_TRUE(state.LoadOrgSection(window).ok());
        ASSERT_TRUE(state.ApplyLayout(window).ok());
        ASSERT_TRUE(state.SwitchLanguage(1, window).ok());
    }

    RecordingWindow window;
    LayoutState state;
};

TEST_F(WindowLanguage, CaptionsOfEachLanguage) {
    struct Case {
        const char* control;
        const char* portuguese;  // language 1
        const char* english;     // language 2
    };
    const Case cases[] = {
        {"Btn_Confirm_3", "Confirmar", "Confirm"},
        {"Btn_Macro_1", "Macro", "Macro"},
        {"Btn_Adv_4",
         "Avan\xC3\xA7"
         "ado",
         "Advanced"},
        {"Btn_Lang3_2", "Linguagem 3", "Language3"},
        {"Key_Left", " * Bot\xC3\xA3o Esquerdo", " * Left Key"},
        {"Key_WWW", " * Fun\xC3\xA7\xC3\xA3o", " * Fn"},
        {"Key_WWWFavorites", " * Favoritos", " * Favorites"},
        {"Btn_Export", "Exportar Todos", "Export All"},
        {"Btn_DevExport", "Exportar Todos", "Export All"},
        {"Btn_DelPCMacro", "Deletar Macro", "Delete Macro"},
        {"Btn_Start", "Grava\xC3\xA7\xC3\xA3o", "Record"},
        {"Btn_InsertStart", "Grava\xC3\xA7\xC3\xA3o", "Record"},
        {"IB_InsertNoDelay", "       Sem Atraso", "       No Delay"},
        {"lbl_Delay", "Tempo de Atraso", "Delay Time"},
        {"lbl_s_A", "ms", "ms"},
        {"Btn_OK", "OK", "OK"},
        {"Btn_Cancel", "Cancelar", "Cancel"},
    };
    start();
    for (const Case& c : cases) EXPECT_EQ(window.at(c.control).caption, c.portuguese) << c.control;
    EXPECT_EQ(window.at("CB_Insert").entries,
              (std::vector<std::string>{"Inserir Atraso Frontal", "Inserir Atraso Traseiro",
                                        "Inserir Bot\xC3\xA3o Frontal",
                                        "Inserir Bot\xC3\xA3o Traseiro"}));
    EXPECT_EQ(state.messages().text("Str020"),
              "Dispositivo espec\xC3\xAD"
              "fico n\xC3\xA3o encontrado");

    ASSERT_TRUE(state.SwitchLanguage(2, window).ok());
    for (const Case& c : cases) EXPECT_EQ(window.at(c.control).caption, c.english) << c.control;
    EXPECT_EQ(window.at("CB_Insert").entries[3], "Insert Key Back");
    EXPECT_EQ(state.messages().text("Str020"), "The specified device was not found");
    EXPECT_EQ(state.messages().text("Str101"), "Please check your device is attached to USB port");
    EXPECT_EQ(state.messages().text("Str304"), "2400");
    EXPECT_EQ(state.messages().text("Str421"), "OK");
    EXPECT_EQ(state.languageText()("Str230"), "Fire Key");
}

TEST_F(WindowLanguage, KeyLabelsFollowTheLanguageWhenTheyShowAFunction) {
    start();
    const std::pair<const char*, const char*> labels[] = {{"Key1", "Bot\xC3\xA3o Esquerdo"},
                                                          {"Key2", "Ctrl+Alt+A"},
                                                          {"Key3", ""},
                                                          {"Key4", "Stop"},
                                                          {"Key5", "Backward"},
                                                          {"Key6", "WWW Back"},
                                                          {"Key7", "My macro"}};
    for (const auto& [label, text] : labels) window.setCaption(label, text);

    ASSERT_TRUE(state.SwitchLanguage(2, window).ok());
    EXPECT_EQ(window.at("Key1").caption, "Left Key");
    EXPECT_EQ(window.at("Key2").caption, "Ctrl+Alt+A");
    EXPECT_EQ(window.at("Key3").caption, "");
    EXPECT_EQ(window.at("Key4").caption, "Stop");
    EXPECT_EQ(window.at("Key6").caption, "Backward");  // language 2 names it so
    EXPECT_EQ(window.at("Key7").caption, "My macro");

    ASSERT_TRUE(state.SwitchLanguage(1, window).ok());
    EXPECT_EQ(window.at("Key1").caption, "Bot\xC3\xA3o Esquerdo");
    EXPECT_EQ(window.at("Key4").caption, "Parar");
    EXPECT_EQ(window.at("Key5").caption, "Retornar");
    EXPECT_EQ(window.at("Key6").caption, "Retornar");
}

TEST_F(WindowLanguage, SwitchKeepsTheInsertChoiceAndRestartsTheHover) {
    start();
    window.page = 3;
    window.selectEntry("CB_Insert", 2);
    window.log.clear();

    ASSERT_TRUE(state.SwitchLanguage(2, window).ok());
    EXPECT_EQ(state.LanguageIndex(), 2);
    for (int p = 1; p <= 4; ++p) {
        const std::string n = std::to_string(p);
        EXPECT_EQ(window.at("Img_Lang1_" + n).picture, "SetS_01");
        EXPECT_EQ(window.at("Img_Lang2_" + n).picture, "SetS_02");
        EXPECT_EQ(window.at("Img_Lang3_" + n).picture, "SetS_01");
        EXPECT_EQ(window.at("Img_Base_" + n).picture, "L2_BackGround");
    }
    // Only the panel of the page on show changes.
    EXPECT_EQ(window.at("Img_P3").picture, "L2_Back3");
    EXPECT_EQ(window.at("Img_P1").picture, "L1_Back1");
    EXPECT_EQ(window.currentLanguage, 2);
    EXPECT_EQ(window.at("CB_Insert").selected, 2);
    EXPECT_EQ(window.title, "KVR5507 Gaming Mouse");
    EXPECT_EQ(window.hover, (std::pair<std::string, std::string>("Btn_Lang2_1", "English")));

    const std::size_t hidden = window.logIndex("hide Gb_Delay");
    const std::size_t entries = window.logIndex("entries CB_Insert");
    EXPECT_LT(window.logIndex("language 2"), hidden);
    EXPECT_LT(hidden, window.logIndex("picture Img_Base_1 L2_BackGround"));
    EXPECT_LT(entries, window.logIndex("select CB_Insert 2"));
    EXPECT_LT(window.logIndex("select CB_Insert 2"), window.logIndex("title KVR5507 Gaming Mouse"));
    EXPECT_LT(window.logIndex("title KVR5507 Gaming Mouse"), window.logIndex("refresh"));
    EXPECT_LT(window.logIndex("refresh"), window.logIndex("hover Btn_Lang2_1"));
}

TEST_F(WindowLanguage, ThirdLanguageBringsItsLayoutAndTexts) {
    start();
    ASSERT_TRUE(state.SwitchLanguage(3, window).ok());
    EXPECT_EQ(window.title, "KVR5507S Gaming Mouse");
    EXPECT_EQ(window.at("Btn_Lang3_1").visible, true);
    EXPECT_EQ(window.at("Key1").position(), std::pair(144, 184));
    EXPECT_EQ(window.at("Key_CPII").caption, " * CPI +");
    EXPECT_EQ(state.messages().text("Str302"), "1000");
    EXPECT_EQ(window.hover.second, "Language3");
}

TEST_F(WindowLanguage, FailedApplyIsReportedAndTheSwitchStillEnds) {
    start();
    window.page = 4;
    window.selectEntry("CB_Insert", 1);
    window.missingPictures = {"L2_Back4"};
    window.log.clear();

    const ApplyResult r = state.SwitchLanguage(2, window);
    EXPECT_FALSE(r.ok());
    EXPECT_NE(r.error.find("L2_Back4"), std::string::npos) << r.error;
    EXPECT_EQ(window.at("Img_Base_2").picture, "L2_BackGround");
    EXPECT_EQ(window.at("Btn_Confirm_1").caption, "Confirmar");  // captions not reached
    EXPECT_EQ(window.at("CB_Insert").selected, 1);
    EXPECT_LT(window.logIndex("refresh"), window.log.size());
    EXPECT_EQ(window.hover.first, "Btn_Lang2_1");

    // A missing language button picture stops the switch before anything else changes.
    window.missingPictures = {"SetS_02"};
    EXPECT_FALSE(state.SwitchLanguage(1, window).ok());
    EXPECT_EQ(window.currentLanguage, 2);
    EXPECT_FALSE(state.SwitchLanguage(4, window).ok());
}

// The control table is the one list the window creates its controls from: the apply reaches
// no other control and leaves none of the table out.
TEST_F(WindowLanguage, ControlTableListsExactlyWhatIsAddressed) {
    start();
    for (int n : {2, 3}) ASSERT_TRUE(state.SwitchLanguage(n, window).ok());
    for (int p = 2; p <= 4; ++p) {
        window.page = p;
        ASSERT_TRUE(state.SwitchLanguage(1, window).ok());
    }
    EXPECT_TRUE(window.unknownControls.empty());
    for (const LayoutControl& c : layoutControls()) {
        if (c.kind == ControlKind::Page || c.kind == ControlKind::Panel) continue;
        EXPECT_TRUE(window.addressed.contains(c.name)) << c.name;
        if (!c.container.empty()) {
            EXPECT_NE(findLayoutControl(c.container), nullptr) << c.name;
        }
    }
    std::set<std::string> names;
    for (const LayoutControl& c : layoutControls())
        EXPECT_TRUE(names.insert(c.name).second) << c.name;
}

}  // namespace
}  // namespace kvr
