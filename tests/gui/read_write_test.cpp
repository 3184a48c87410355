#include <QLineEdit>
#include <functional>
#include <utility>

#include "window_fixture.h"

namespace kvr::test {
namespace {

int countCommand(const EmulatedMouse& m, std::uint8_t cmd) {
    int n = 0;
    for (const CommandReport& r : m.requests()) n += r.bytes[1] == cmd;
    return n;
}

TEST_F(WindowTest, FoundMouseIsReadWholeAndItsButtonsShown) {
    plugAndRead();
    ASSERT_TRUE(window->mouseOpen());
    // Identity, capability, parameter, profile and four macro pieces.
    EXPECT_EQ(countCommand(*mouse, ReadStartCmd), 8);
    const std::vector<CommandReport> r = mouse->requests();
    ASSERT_GE(r.size(), 2u);
    EXPECT_EQ(r[r.size() - 2].bytes[1], SystemReloadCmd);
    EXPECT_EQ(r.back().bytes[1], EndCmd);
    EXPECT_EQ(label("Key1")->text(), "Botão Esquerdo");
    EXPECT_FALSE(find("Disable_All_1")->isVisible());
    EXPECT_EQ(busy->hideCount() > 0, true);
    EXPECT_FALSE(busy->isVisible());
}

TEST_F(WindowTest, ButtonsThatWriteNeedAMouse) {
    for (const char* button : {"Btn_Apply_1", "Btn_Reset_2", "Btn_Confirm_3"}) {
        dialogs.texts.clear();
        click(button);
        ASSERT_EQ(dialogs.texts.size(), 1) << button;
        EXPECT_EQ(dialogs.texts[0], "Dispositivo específico não encontrado");
    }
    EXPECT_TRUE(window->isVisible());
}

TEST_F(WindowTest, ApplyWritesTheImageAndConfirmClosesAfterItsWrite) {
    plugAndRead();
    mouse->clearWireLog();
    click("Btn_Apply_2");
    EXPECT_EQ(picture("Img_Apply_4"), "BtnS_03");
    EXPECT_EQ(countCommand(*mouse, WriteStartCmd), 2);  // parameter and profile blocks
    EXPECT_TRUE(window->isVisible());
    mouse->clearWireLog();
    click("Btn_Confirm_1");
    EXPECT_EQ(countCommand(*mouse, WriteStartCmd), 2);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->mouseOpen());
}

TEST_F(WindowTest, ResetRewritesTheMacroAreaAndExitWritesNothing) {
    plugAndRead();
    mouse->memory()[3] ^= 0xFF;  // a setting the owner changed elsewhere
    mouse->clearWireLog();
    dialogs.answers << 0;  // Yes
    click("Btn_Reset_1");
    EXPECT_EQ(countCommand(*mouse, WriteStartCmd), 4);
    EXPECT_EQ(mouse->memory()[3], factoryMemory()[3]);
    mouse->clearWireLog();
    click("Btn_Exit_1");
    EXPECT_TRUE(mouse->requests().empty());
    EXPECT_FALSE(window->isVisible());
}

// A mouse this program has not read whole is never written; the owner hears why.
TEST_F(WindowTest, WritesToAMouseThatWasNotReadAreRefusedWithTheReason) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        const char* message;
    };
    const Case cases[] = {
        {"identity 12 34",
         [this] {
             plugMouse();
             mouse->memory()[43] = 0x12;
             mouse->memory()[44] = 0x34;
         },
         "Str107"},
        {"silent at discovery", [this] { plugMouse(), mouse->refuseNext(10); }, "Str020"},
        {"the other variant", [this] { plugMouse(2); }, "Str102"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bus.unplug(kMousePath);
        createWindow();
        c.arrange();
        tick();
        ASSERT_TRUE(window->mouseOpen());
        const MouseMemory before = std::as_const(*mouse).memory();
        for (const char* button : {"Btn_Apply_1", "Btn_Reset_1", "Btn_Confirm_1"}) {
            mouse->clearWireLog();
            dialogs.texts.clear();
            click(button);
            EXPECT_EQ(countCommand(*mouse, WriteStartCmd), 0) << button;
            EXPECT_TRUE(mouse->requests().empty()) << button;
            ASSERT_EQ(dialogs.texts.size(), 1) << button;
            EXPECT_EQ(dialogs.texts[0], window->messageText(c.message)) << button;
        }
        EXPECT_EQ(std::as_const(*mouse).memory(), before);
        EXPECT_TRUE(window->isVisible()) << "Confirm closes only after a write";
    }
}

TEST_F(WindowTest, AMouseSilentAtDiscoveryIsReadAtTheNextTick) {
    plugMouse();
    mouse->refuseNext(10);
    tick();
    EXPECT_EQ(countCommand(*mouse, ReadStartCmd), 0);
    mouse->clearWireLog();
    tick();
    EXPECT_EQ(countCommand(*mouse, ReadStartCmd), 8) << "identity, capability and the full read";
    mouse->clearWireLog();
    tick();
    EXPECT_TRUE(mouse->requests().empty()) << "a mouse that was read is left alone";
    click("Btn_Apply_1");
    EXPECT_EQ(countCommand(*mouse, WriteStartCmd), 2);
}

TEST_F(WindowTest, ARefusedIdentityIsNotAskedAgainAtEveryTick) {
    plugMouse();
    mouse->memory()[43] = 0x12;
    tick();
    mouse->clearWireLog();
    dialogs.texts.clear();
    tick();
    EXPECT_TRUE(mouse->requests().empty());
    EXPECT_TRUE(dialogs.texts.isEmpty());
}

TEST_F(WindowTest, ACloseDuringApplyWaitsForTheWholeWrite) {
    plugAndRead();
    mouse->clearWireLog();
    bool closedDuring = false;
    pacer.onPump = [&] {
        if (closedDuring || countCommand(*mouse, WriteNextCmd) != 3) return;
        closedDuring = true;
        window->close();  // the window manager's close button, the tray, Exit
    };
    click("Btn_Apply_1");
    pacer.onPump = nullptr;
    ASSERT_TRUE(closedDuring);
    EXPECT_EQ(countCommand(*mouse, WriteStartCmd), 2) << "both blocks reached the mouse";
    EXPECT_EQ(mouse->requests().back().bytes[1], EndCmd);
    EXPECT_EQ(std::as_const(*mouse).memory(), factoryMemory());
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->isVisible()) << "the close is carried out after the exchange";
    EXPECT_FALSE(window->mouseOpen());
}

TEST_F(WindowTest, ConfirmWhoseWriteFailsKeepsTheWindowAndItsEdits) {
    plugAndRead();
    mouse->loseChunk(1);  // every block loses a chunk, on both sendings
    click("Btn_Confirm_1");
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->mouseOpen());
    ASSERT_FALSE(dialogs.texts.isEmpty());
    EXPECT_EQ(dialogs.texts.back(), window->messageText("Str108"));
}

TEST_F(WindowTest, TypingDuringATransferDoesNotReachTheEditBoxes) {
    plugAndRead();
    auto* edit = window->controls().get<QLineEdit>("Edt_Repeat1");
    window->activateWindow();
    edit->setFocus();
    const QString before = edit->text();
    bool typed = false;
    mouse->clearWireLog();
    pacer.onPump = [&] {
        if (typed || countCommand(*mouse, WriteStartCmd) == 0) return;
        typed = true;
        QTest::keyClick(edit, Qt::Key_7);
    };
    click("Btn_Apply_1");
    pacer.onPump = nullptr;
    ASSERT_TRUE(typed);
    EXPECT_EQ(edit->text(), before);
    QTest::keyClick(edit, Qt::Key_7);
    EXPECT_EQ(edit->text(), before + "7") << "typing works again after the transfer";
}

// The key labels show the functions the mouse holds: at start, after a read, after Reset and
// after a language switch. Buttons 1 and 3 swapped in the mouse's memory.
TEST_F(WindowTest, KeyLabelsFollowTheCodesInTheMouse) {
    auto key = [&](int n) { return label(QString("Key%1").arg(n))->text(); };
    const QString left = key(1);
    const QString right = key(2);
    EXPECT_FALSE(left.isEmpty()) << "the defaults are shown before any mouse";
    EXPECT_FALSE(right.isEmpty());

    plugMouse();
    auto memory = mouse->memory();
    std::swap_ranges(memory.begin() + 64, memory.begin() + 67, memory.begin() + 64 + 6);
    tick();
    EXPECT_EQ(key(1), window->buttonModel().caption(1).c_str());
    EXPECT_NE(key(1), left) << "the read shows button 1's new function";

    click("Btn_Adv_1");
    dialogs.answers << 0;  // Yes
    click("Btn_Reset_2");
    EXPECT_EQ(key(1), left) << "Reset shows the factory functions";
    EXPECT_EQ(picture("Img_Main_1"), "SetS_02");
    EXPECT_EQ(picture("Img_Adv_1"), "SetS_01") << "the page buttons follow page 1";

    click("Btn_Lang2_1");
    click("Btn_Main_1");
    EXPECT_EQ(key(1), "Left Key");
    EXPECT_EQ(window->buttonModel().caption(1), "Left Key");
}

TEST_F(WindowTest, ResetAsksFirstAndNoIsTheDefault) {
    plugAndRead();
    mouse->memory()[3] ^= 0xFF;
    const MouseMemory before = std::as_const(*mouse).memory();
    mouse->clearWireLog();
    click("Btn_Reset_1");  // answered as Return would: the default
    ASSERT_EQ(dialogs.questions.size(), 1);
    EXPECT_EQ(dialogs.questions[0], window->messageText("Str115"));
    EXPECT_EQ(dialogs.questionButtons[0], "Sim|N\u00e3o");
    EXPECT_EQ(dialogs.defaultAnswers[0], 1) << "No by default";
    EXPECT_EQ(dialogs.escapeAnswers[0], 1);
    EXPECT_TRUE(mouse->requests().empty());
    EXPECT_EQ(std::as_const(*mouse).memory(), before);

    click("Btn_Lang2_1");
    dialogs.answers << 0;
    click("Btn_Reset_1");
    EXPECT_EQ(dialogs.questions[1], "Reset every button, level and macro in the mouse to the "
                                    "factory settings?");
    EXPECT_EQ(dialogs.questionButtons[1], "Yes|No");
    EXPECT_EQ(std::as_const(*mouse).memory(), factoryMemory());
}

// Exit, with settings on the pages that the mouse or the desktop does not hold, asks Apply /
// Discard / Cancel; otherwise it closes at once. Button 1 given button 2's function is the change,
// or a segment of the mouse speed scale.
TEST_F(WindowTest, ExitAsksOnlyWhenThePagesDifferFromTheMouse) {
    struct Case {
        const char* name;
        int answer;  // -1: no question expected
        bool edit;
        bool revert;
        bool applied;
        bool closes;
        bool written;
    };
    const Case cases[] = {
        {"nothing changed", -1, false, false, false, true, false},
        {"changed, then changed back", -1, true, true, false, true, false},
        {"changed and applied", -1, true, false, true, true, false},
        {"Apply", 0, true, false, false, true, true},
        {"Discard", 1, true, false, false, true, false},
        {"Cancel", 2, true, false, false, false, false},
        {"a pointer scale chosen, Discard", 1, false, false, false, true, false},
    };
    pointerStore.values[PointerValue::MouseSensitivity] = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bus.unplug(kMousePath);
        createWindow();
        plugAndRead();
        ButtonModel& buttons = window->buttonModel();
        const std::string own = buttons.codeText(1);
        if (c.edit) buttons.storeCode(1, buttons.codeText(2), window->cycle().dataBuf());
        if (c.revert) buttons.storeCode(1, own, window->cycle().dataBuf());
        if (c.answer >= 0 && !c.edit) {
            click("Btn_Adv_1");
            click("Img_Spd3");
            click("Btn_Main_2");
        }
        if (c.applied) click("Btn_Apply_1");
        const MouseMemory before = std::as_const(*mouse).memory();
        dialogs.questions.clear();
        if (c.answer >= 0) dialogs.answers << c.answer;
        click("Btn_Exit_1");

        if (c.answer < 0) {
            EXPECT_TRUE(dialogs.questions.isEmpty());
        } else {
            ASSERT_EQ(dialogs.questions.size(), 1);
            EXPECT_EQ(dialogs.questions[0], window->messageText("Str116"));
            EXPECT_EQ(dialogs.questionButtons.back(), "Aplicar|Descartar|Cancelar");
            EXPECT_EQ(dialogs.escapeAnswers.back(), 2) << "Escape stays";
        }
        EXPECT_EQ(window->isVisible(), !c.closes);
        EXPECT_EQ(std::as_const(*mouse).memory() != before, c.written);
        if (c.written) {
            EXPECT_EQ(mouse->memory()[64], mouse->memory()[64 + 3]);
        }
        if (!c.closes) {
            EXPECT_NE(buttons.codeText(1), own) << "the edit stays on the page";
        }
    }
}

TEST_F(WindowTest, TheFirstLookForTheMouseComesAtStartNotAtTheFirstTick) {
    plugMouse();
    // A window whose presence timer runs, as the program's does.
    MainWindow running(
        AppServices{bus, pacer, dialogs, desktop, pointerStore, &capture, &tickClock});
    QCoreApplication::processEvents();
    EXPECT_EQ(countCommand(*mouse, ReadStartCmd), 0) << "nothing is read before the first paint";
    running.show();
    // The window paints, then looks.
    for (int i = 0; i < 10 && countCommand(*mouse, ReadStartCmd) == 0; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(running.cycle().mouseMemory(), MouseReadState::Read);
    EXPECT_EQ(countCommand(*mouse, ReadStartCmd), 8);
    EXPECT_TRUE(running.presenceTimer().isActive());
}

TEST_F(WindowTest, TheNoMouseMessageClosesByItselfWhenAMouseIsThenRead) {
    tick();
    ASSERT_EQ(dialogs.notices.size(), 1);
    const QString noMouse = dialogs.notices[0];
    plugMouse(2);  // found, but not read: the message stays
    tick();
    EXPECT_TRUE(dialogs.withdrawn.isEmpty());
    bus.unplug(kMousePath);
    tick();
    plugAndRead();
    EXPECT_EQ(dialogs.withdrawn, QStringList{noMouse});
    EXPECT_TRUE(window->mouseOpen());
    EXPECT_FALSE(window->errorAppearance());
}

}  // namespace
}  // namespace kvr::test
