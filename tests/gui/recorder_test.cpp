// The event list on the macro page: recording with its buttons and delay modes, deleting, and the
// insert panel, against injected capture events and virtual time, into the PC macro library.
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>

#include "macros/macro_codec.h"
#include "gui/pages/macro_editor_page.h"
#include "gui/pages/macro_page.h"
#include "window_fixture.h"

namespace kvr::test {
namespace {

class RecorderWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        plugAndRead();
        window->Btn_Macro_0Click();
    }

    MacroEditorPage& page() { return window->macroEditorPage(); }
    PCMacroLibrary& library() { return window->macroPage().library(); }
    QListWidget* eventList() { return window->controls().get<QListWidget>("LB_macro"); }
    QListWidget* pcList() { return window->controls().get<QListWidget>("LB_PCMacroName"); }
    const MacroContent& stored(int slot) {
        return library().slot(static_cast<std::size_t>(slot)).content;
    }
    static MacroContent compiled(const MacroLines& lines) {
        const auto c = CompileMacroLines(lines);
        return c ? c->content : MacroContent{};
    }
    void choosePC(int row) { clickRow(pcList(), row); }
    // A right click on a row of the event list, then a command of its context panel.
    void eventCommand(int row, const char* command) {
        clickRow(eventList(), row, Qt::RightButton);
        click(command);
    }
    // The capture's events reach the list as the window's event loop hands them over.
    void settle() {
        ASSERT_TRUE(page().recorder().waitForWorker(std::chrono::seconds(10)));
        QCoreApplication::processEvents();
    }
    void tap(std::uint16_t vk) {
        capture.keyDown(vk);
        capture.keyUp(vk);
        settle();
    }
    QString caption(const char* name) { return label(name)->text(); }
    bool visible(const char* name) { return find(name)->isVisible(); }
};

TEST_F(RecorderWindowTest, RecordAndStopFillTheListAndCompileIntoTheEntryOfTheStart) {
    choosePC(4);
    const MacroContent other = stored(1);
    click("Btn_Start");
    ASSERT_TRUE(page().recorder().recording());
    EXPECT_EQ(caption("Btn_Start"), window->messageText("Str401"));
    EXPECT_EQ(picture("Img_Start"), "MacroS_03");
    EXPECT_FALSE(find("LB_macro")->isEnabled());
    EXPECT_FALSE(find("LB_MacroName")->isEnabled());
    EXPECT_FALSE(find("Gb_Delay")->isEnabled());
    EXPECT_TRUE(window->cycle().macroDirty());
    EXPECT_EQ(eventList()->count(), 0);

    tap(0x41);
    tickClock.advance(300);
    capture.buttonDown(MouseButton::Right);
    settle();
    // Press, the release's pause of 0 ms, release, the pause, right press.
    EXPECT_EQ(eventList()->count(), 5);
    capture.buttonUp(MouseButton::Right);
    settle();

    choosePC(1);  // looked at meanwhile: neither the target nor the lines change
    EXPECT_EQ(eventList()->count(), 6);
    click("Btn_Start");
    EXPECT_FALSE(page().recorder().recording());
    EXPECT_EQ(caption("Btn_Start"), window->messageText("Str400"));
    EXPECT_TRUE(find("LB_macro")->isEnabled());
    EXPECT_TRUE(find("Gb_Delay")->isEnabled());
    EXPECT_EQ(stored(4), compiled({"10", "1 A CODE:8204", "0 0", "2 A CODE:0204", "0 300",
                                   "1 RightKey CODE:00A2", "2 RightKey CODE:0022"}));
    EXPECT_EQ(stored(1), other);
}

TEST_F(RecorderWindowTest, ALeftClickOnRecordIsLeftOutWhereverTheWindowThinksThePointerIs) {
    choosePC(4);
    click("Btn_Start");
    ASSERT_TRUE(page().recorder().recording());
    // The capture may report the click before the window has seen the pointer arrive.
    QWidget* record = find("Btn_Start");
    const QPoint onRecord = record->mapToGlobal(record->rect().center());
    const QPoint elsewhere = record->mapToGlobal(QPoint(-5, -5));
    for (const QPoint p : {onRecord, elsewhere}) {
        capture.buttonDown(MouseButton::Left, ScreenPoint{p.x(), p.y()});
        capture.buttonUp(MouseButton::Left, ScreenPoint{p.x(), p.y()});
        settle();
    }
    // Only the click beside Record: its press and release, no time between them.
    EXPECT_EQ(eventList()->count(), 2);
}

TEST_F(RecorderWindowTest, TheHoveredRecordButtonScrollsAndKeepsTheCaptionOfItsNewState) {
    click("Btn_Lang2_1");  // English
    choosePC(1);
    eventCommand(1, "Btn_Insert");
    window->controls().get<QComboBox>("CB_Insert")->setCurrentIndex(3);
    page().CB_InsertChange(3);
    for (const char* button : {"Btn_InsertStart", "Btn_Start"}) {
        SCOPED_TRACE(button);
        if (QString(button) == "Btn_Start") click("Btn_Cancel");
        enter(button);
        click(button);
        tickMarquee(1);
        EXPECT_EQ(caption(button), "top    S");
        leave(button);
        EXPECT_EQ(caption(button), "Stop");
        enter(button);
        click(button);
        leave(button);
        EXPECT_EQ(caption(button), "Record");
    }
}

TEST_F(RecorderWindowTest, DelayModesLightTheirLampAndChooseTheHeader) {
    choosePC(0);
    click("IB_DelayTime");
    EXPECT_TRUE(window->controls().find("LED_DelayTime")->isVisibleTo(find("Gb_Delay")));
    EXPECT_FALSE(window->controls().find("LED_RecDelay")->isVisibleTo(find("Gb_Delay")));
    auto* edit = window->controls().get<QLineEdit>("Edt_Delay");
    EXPECT_FALSE(edit->isReadOnly());
    edit->setText("99999");
    page().Edt_DelayChange();
    EXPECT_EQ(edit->text(), "10200");
    edit->setText("120");
    click("Btn_Start");
    tap(0x42);
    click("Btn_Start");
    EXPECT_EQ(stored(0), compiled({"01120", "1 B CODE:8205", "0 120", "2 B CODE:0205"}));

    click("IB_NoDelay");
    EXPECT_TRUE(edit->isReadOnly());
    click("Btn_Start");
    tap(0x42);
    click("Btn_Start");
    EXPECT_EQ(stored(0), compiled({"00", "1 B CODE:8205", "2 B CODE:0205"}));
}

TEST_F(RecorderWindowTest, TheLimitStopsTheRecordingInTheWindowToo) {
    choosePC(0);
    click("IB_NoDelay");
    click("Btn_Start");
    for (int i = 0; i < 63 && page().recorder().recording(); ++i) tap(0x41);
    EXPECT_FALSE(page().recorder().recording());
    EXPECT_EQ(caption("Btn_Start"), window->messageText("Str400"));
    EXPECT_TRUE(find("LB_macro")->isEnabled());
    EXPECT_EQ(macroLength(stored(0)), 1 + 62 * 4);  // the 63rd press found 248 bytes: refused
}

TEST_F(RecorderWindowTest, RecordingThatCannotRunIsExplainedInTheCurrentLanguage) {
    window->Btn_Lang1_0Click();
    choosePC(0);
    const QString advice = window->messageText("Str113");
    const QString couldNot = window->messageText("Str114");
    ASSERT_FALSE(advice.isEmpty());
    ASSERT_FALSE(couldNot.isEmpty());
    EXPECT_NE(advice.toStdString(), kCaptureUnavailableText);  // Portuguese, not the English text
    const struct {
        std::string failure;
        QString shown;
    } cases[] = {
        {kCaptureUnavailableText, advice},
        {"SetWindowsHookEx: Access is denied.", couldNot + "\nSetWindowsHookEx: Access is denied."},
    };
    for (const auto& c : cases) {
        dialogs.texts.clear();
        capture.failWith(c.failure);
        click("Btn_Start");
        EXPECT_FALSE(page().recorder().recording());
        ASSERT_EQ(dialogs.texts.size(), 1);
        EXPECT_EQ(dialogs.texts[0], c.shown);
        EXPECT_EQ(caption("Btn_Start"), window->messageText("Str400"));
    }
}

TEST_F(RecorderWindowTest, ARecordingRunningWhenTheWindowClosesIsKept) {
    choosePC(2);
    click("Btn_Start");
    capture.keyDown(0x41);
    settle();
    window->close();
    EXPECT_EQ(stored(2), compiled({"10", "1 A CODE:8204", "2 A CODE:0204"}));
}

TEST_F(RecorderWindowTest, DeleteRemovesThePairAndStoresTheMacro) {
    choosePC(1);
    const int rows = eventList()->count();
    ASSERT_GT(rows, 2);
    const QString first = eventList()->item(0)->text();
    eventCommand(0, "Btn_Del");
    EXPECT_EQ(eventList()->count(), rows - 2);
    for (int r = 0; r < eventList()->count(); ++r) EXPECT_NE(eventList()->item(r)->text(), first);
    EXPECT_EQ(stored(1), compiled(page().editor().lines()));
}

TEST_F(RecorderWindowTest, MacrosOfTheMouseAreReadOnly) {
    choosePC(1);
    clickRow(pcList(), 1, Qt::RightButton);
    click("Btn_AddMacro");
    auto* device = window->controls().get<QListWidget>("LB_MacroName");
    ASSERT_EQ(device->count(), 1);
    clickRow(device, 0);
    const int rows = eventList()->count();
    ASSERT_GT(rows, 0);
    eventCommand(0, "Btn_Del");
    eventCommand(0, "Btn_Insert");
    EXPECT_EQ(eventList()->count(), rows);
    EXPECT_FALSE(page().insertPanelOpen());
}

TEST_F(RecorderWindowTest, InsertPanelAddsADelayBeforeTheSelectedRow) {
    choosePC(1);
    const MacroLines before = page().editor().lines();
    eventCommand(0, "Btn_Insert");
    EXPECT_TRUE(visible("Gb_Insert"));
    EXPECT_FALSE(visible("Gb_Delay"));
    EXPECT_FALSE(find("Btn_Start")->isEnabled());
    EXPECT_EQ(picture("Img_InsertBase"), "InsertDelayBase");
    EXPECT_FALSE(visible("Btn_InsertStart"));
    window->controls().get<QLineEdit>("Edt_InsertDelay")->setText("50");
    click("Btn_OK");
    MacroLines expected = before;
    expected.insert(expected.begin() + 1, "0 50");
    EXPECT_EQ(page().editor().lines(), expected);
    EXPECT_EQ(stored(1), compiled(expected));
    EXPECT_EQ(eventList()->currentRow(), 0);
    EXPECT_EQ(eventList()->item(0)->text(), "50 ms");
    EXPECT_FALSE(visible("Gb_Insert"));
    EXPECT_TRUE(visible("Gb_Delay"));
    EXPECT_TRUE(find("Btn_Start")->isEnabled());
}

TEST_F(RecorderWindowTest, InsertedKeysAreKeptByOkAndDroppedByCancel) {
    for (bool keep : {true, false}) {
        choosePC(1);
        const MacroLines shown = page().editor().lines();
        const int rows = eventList()->count();
        eventCommand(1, "Btn_Insert");
        window->controls().get<QComboBox>("CB_Insert")->setCurrentIndex(3);
        page().CB_InsertChange(3);
        EXPECT_EQ(picture("Img_InsertBase"), "InsertKeyBase");
        EXPECT_TRUE(visible("Btn_InsertStart"));
        click("IB_InsertNoDelay");
        click("Btn_InsertStart");
        ASSERT_TRUE(page().recorder().recording());
        EXPECT_EQ(caption("Btn_InsertStart"), window->messageText("Str401"));
        EXPECT_FALSE(find("Btn_OK")->isEnabled());
        EXPECT_TRUE(visible("GB_Dis"));
        tap(0x42);
        click("Btn_InsertStart");
        EXPECT_FALSE(page().recorder().recording());
        EXPECT_EQ(eventList()->count(), rows + 2);
        click(keep ? "Btn_OK" : "Btn_Cancel");
        EXPECT_FALSE(visible("Gb_Insert"));
        MacroLines withB = shown;
        withB.insert(withB.begin() + 3, {"1 B CODE:8205", "2 B CODE:0205"});
        if (keep) {
            EXPECT_EQ(stored(1), compiled(withB));
        } else {
            EXPECT_EQ(page().editor().lines(), window->macroPage().decodePCMacro(1));
            EXPECT_EQ(eventList()->currentRow(), 1);
        }
    }
}

TEST_F(RecorderWindowTest, TheOpenInsertPanelSurvivesPageChanges) {
    choosePC(1);
    eventCommand(0, "Btn_Insert");
    window->Btn_Main_0Click();
    window->Btn_Macro_0Click();
    EXPECT_TRUE(visible("Gb_Insert"));
    EXPECT_TRUE(visible("Img_InsertBase"));
    EXPECT_FALSE(visible("Gb_Delay"));
    click("Btn_Cancel");
    window->Btn_Main_0Click();
    window->Btn_Macro_0Click();
    EXPECT_FALSE(visible("Gb_Insert"));
    EXPECT_TRUE(visible("Gb_Delay"));
}

}  // namespace
}  // namespace kvr::test
