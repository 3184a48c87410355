// The event list on the macro page: recording with its buttons and delay modes, deleting, and the
// insert panel, against injected capture events and virtual time.
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <map>

#include "macros/macro_editor_page.h"
#include "window_fixture.h"

namespace kvr::test {
namespace {

class FakeLibrary final : public MacroLibraryAccess {
public:
    int selectedPCMacro() const override { return selected; }
    MacroLines decodePCMacro(int slot) override {
        auto it = stored.find(slot);
        return it == stored.end() ? MacroLines{"00"} : it->second;
    }
    bool storePCMacro(int slot, const MacroLines& lines) override {
        stored[slot] = lines;
        ++stores;
        return true;
    }
    void setMacroDirty() override { dirty = true; }

    int selected = 0;
    std::map<int, MacroLines> stored;
    int stores = 0;
    bool dirty = false;
};

class RecorderWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        page = std::make_unique<MacroEditorPage>(*window, library, capture, clock);
        plugAndRead();
        window->Btn_Macro_0Click();
    }
    void TearDown() override { page.reset(); }

    QListWidget* eventList() { return window->controls().get<QListWidget>("LB_macro"); }
    // The capture's events reach the list as the window's event loop would hand them over.
    void settle() {
        ASSERT_TRUE(page->recorder().waitForWorker(std::chrono::seconds(10)));
        QCoreApplication::processEvents();
    }
    void tap(std::uint16_t vk) {
        capture.keyDown(vk);
        capture.keyUp(vk);
        settle();
    }
    QString caption(const char* name) { return label(name)->text(); }
    bool visible(const char* name) { return find(name)->isVisible(); }

    FakeLibrary library;
    InjectedCapture capture;
    VirtualTickClock clock;
    std::unique_ptr<MacroEditorPage> page;
};

TEST_F(RecorderWindowTest, RecordAndStopFillTheListAndStoreTheEntryOfTheStart) {
    library.selected = 4;
    click("Btn_Start");
    ASSERT_TRUE(page->recorder().recording());
    EXPECT_EQ(caption("Btn_Start"), window->messageText("Str401"));
    EXPECT_EQ(picture("Img_Start"), "MacroS_03");
    EXPECT_FALSE(find("LB_macro")->isEnabled());
    EXPECT_FALSE(find("LB_MacroName")->isEnabled());
    EXPECT_FALSE(find("Gb_Delay")->isEnabled());
    EXPECT_TRUE(library.dirty);

    tap(0x41);
    clock.advance(300);
    capture.buttonDown(MouseButton::Right);
    settle();
    // Press, the release's pause of 0 ms, release, the pause, right press.
    EXPECT_EQ(eventList()->count(), 5);
    capture.buttonUp(MouseButton::Right);
    settle();

    library.selected = 1;  // another entry is looked at meanwhile
    click("Btn_Start");
    EXPECT_FALSE(page->recorder().recording());
    EXPECT_EQ(caption("Btn_Start"), window->messageText("Str400"));
    EXPECT_TRUE(find("LB_macro")->isEnabled());
    EXPECT_TRUE(find("Gb_Delay")->isEnabled());
    ASSERT_EQ(library.stored.count(4), 1u);
    EXPECT_EQ(library.stored[4], (MacroLines{"10", "1 A CODE:8204", "0 0", "2 A CODE:0204",
                                             "0 300", "1 RightKey CODE:00A2",
                                             "2 RightKey CODE:0022"}));
    EXPECT_EQ(library.stored.count(1), 0u);
    EXPECT_EQ(eventList()->count(), 6);
}

TEST_F(RecorderWindowTest, DelayModesLightTheirLampAndChooseTheHeader) {
    click("IB_DelayTime");
    EXPECT_TRUE(window->controls().find("LED_DelayTime")->isVisibleTo(find("Gb_Delay")));
    EXPECT_FALSE(window->controls().find("LED_RecDelay")->isVisibleTo(find("Gb_Delay")));
    auto* edit = window->controls().get<QLineEdit>("Edt_Delay");
    EXPECT_FALSE(edit->isReadOnly());
    edit->setText("99999");
    page->Edt_DelayChange();
    EXPECT_EQ(edit->text(), "10200");
    edit->setText("120");
    click("Btn_Start");
    tap(0x42);
    click("Btn_Start");
    EXPECT_EQ(library.stored[0], (MacroLines{"01120", "1 B CODE:8205", "0 120", "2 B CODE:0205"}));

    click("IB_NoDelay");
    EXPECT_TRUE(edit->isReadOnly());
    click("Btn_Start");
    tap(0x42);
    click("Btn_Start");
    EXPECT_EQ(library.stored[0], (MacroLines{"00", "1 B CODE:8205", "2 B CODE:0205"}));
}

TEST_F(RecorderWindowTest, TheLimitStopsTheRecordingInTheWindowToo) {
    click("IB_NoDelay");
    click("Btn_Start");
    for (int i = 0; i < 63 && page->recorder().recording(); ++i) tap(0x41);
    EXPECT_FALSE(page->recorder().recording());
    EXPECT_EQ(caption("Btn_Start"), window->messageText("Str400"));
    EXPECT_TRUE(find("LB_macro")->isEnabled());
    EXPECT_EQ(library.stores, 1);
}

TEST_F(RecorderWindowTest, RecordingThatCannotRunIsExplained) {
    capture.failWith(kCaptureUnavailableText);
    click("Btn_Start");
    EXPECT_FALSE(page->recorder().recording());
    ASSERT_EQ(dialogs.texts.size(), 1);
    EXPECT_EQ(dialogs.texts[0], kCaptureUnavailableText);
    EXPECT_EQ(caption("Btn_Start"), window->messageText("Str400"));
}

TEST_F(RecorderWindowTest, ARecordingRunningWhenTheWindowClosesIsKept) {
    click("Btn_Start");
    capture.keyDown(0x41);
    settle();
    page.reset();
    EXPECT_EQ(library.stored[0], (MacroLines{"10", "1 A CODE:8204", "2 A CODE:0204"}));
}

TEST_F(RecorderWindowTest, DeleteRemovesThePairAndStoresTheMacro) {
    page->showLines({"10", "1 A CODE:8204", "0 120", "2 A CODE:0204"}, true);
    eventList()->setCurrentRow(0);
    EXPECT_EQ(eventList()->item(0)->text(), "A");
    click("Btn_Del");
    EXPECT_EQ(eventList()->count(), 1);
    EXPECT_EQ(eventList()->item(0)->text(), "120 ms");
    EXPECT_EQ(library.stored[0], (MacroLines{"10", "0 120"}));

    // The mouse's macros are read-only.
    page->showLines({"10", "1 A CODE:8204", "2 A CODE:0204"}, false);
    eventList()->setCurrentRow(0);
    click("Btn_Del");
    EXPECT_EQ(eventList()->count(), 2);
}

TEST_F(RecorderWindowTest, InsertPanelAddsADelayBeforeTheSelectedRow) {
    page->showLines({"10", "1 A CODE:8204", "2 A CODE:0204"}, true);
    eventList()->setCurrentRow(0);
    click("Btn_Insert");
    EXPECT_TRUE(visible("Gb_Insert"));
    EXPECT_FALSE(visible("Gb_Delay"));
    EXPECT_FALSE(find("Btn_Start")->isEnabled());
    EXPECT_EQ(picture("Img_InsertBase"), "InsertDelayBase");
    EXPECT_FALSE(visible("Btn_InsertStart"));
    window->controls().get<QLineEdit>("Edt_InsertDelay")->setText("50");
    click("Btn_OK");
    EXPECT_EQ(library.stored[0], (MacroLines{"10", "0 50", "1 A CODE:8204", "2 A CODE:0204"}));
    EXPECT_EQ(eventList()->currentRow(), 0);
    EXPECT_FALSE(visible("Gb_Insert"));
    EXPECT_TRUE(visible("Gb_Delay"));
    EXPECT_TRUE(find("Btn_Start")->isEnabled());
}

TEST_F(RecorderWindowTest, InsertedKeysAreKeptByOkAndDroppedByCancel) {
    const MacroLines stored = {"10", "1 A CODE:8204", "0 96", "2 A CODE:0204"};
    library.stored[0] = stored;
    for (bool keep : {true, false}) {
        page->showLines(library.stored[0], true);
        const int rows = eventList()->count();
        eventList()->setCurrentRow(1);
        click("Btn_Insert");
        auto* choice = window->controls().get<QComboBox>("CB_Insert");
        choice->setCurrentIndex(3);
        page->CB_InsertChange(3);
        EXPECT_EQ(picture("Img_InsertBase"), "InsertKeyBase");
        EXPECT_TRUE(visible("Btn_InsertStart"));
        click("IB_InsertNoDelay");
        click("Btn_InsertStart");
        ASSERT_TRUE(page->recorder().recording());
        EXPECT_EQ(caption("Btn_InsertStart"), window->messageText("Str401"));
        EXPECT_FALSE(find("Btn_OK")->isEnabled());
        EXPECT_TRUE(visible("GB_Dis"));
        tap(0x42);
        click("Btn_InsertStart");
        EXPECT_FALSE(page->recorder().recording());
        EXPECT_EQ(eventList()->count(), rows + 2);
        click(keep ? "Btn_OK" : "Btn_Cancel");
        EXPECT_FALSE(visible("Gb_Insert"));
        if (keep) {
            EXPECT_EQ(library.stored[0], (MacroLines{"10", "1 A CODE:8204", "0 96", "1 B CODE:8205",
                                                     "2 B CODE:0205", "2 A CODE:0204"}));
        } else {
            EXPECT_EQ(page->editor().lines(), library.stored[0]);
            EXPECT_EQ(eventList()->currentRow(), 1);
        }
    }
}

TEST_F(RecorderWindowTest, TheOpenInsertPanelSurvivesPageChanges) {
    page->showLines({"10", "0 5"}, true);
    eventList()->setCurrentRow(0);
    click("Btn_Insert");
    window->Btn_Main_0Click();
    window->Btn_Macro_0Click();
    page->pageShown();
    EXPECT_TRUE(visible("Gb_Insert"));
    EXPECT_TRUE(visible("Img_InsertBase"));
    EXPECT_FALSE(visible("Gb_Delay"));
}

}  // namespace
}  // namespace kvr::test
