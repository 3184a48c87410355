#include <QComboBox>
#include <QLineEdit>

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

// What the owner sees of a control, to compare two windows by.
QString look(QWidget* w) {
    QString text;
    if (auto* label = qobject_cast<QLabel*>(w)) text = label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) text = edit->text();
    const auto* image = qobject_cast<SkinImage*>(w);
    const QPalette& p = w->palette();
    // The fields' backgrounds come from their style sheets.
    return QString("%1 %2,%3 %4x%5 %6 '%7' %8pt %9 %10 %11 %12")
        .arg(w->objectName())
        .arg(w->x()).arg(w->y()).arg(w->width()).arg(w->height())
        .arg(w->isHidden() ? "hidden" : "shown", text)
        .arg(w->font().pointSize())
        .arg(p.color(QPalette::WindowText).name(), p.color(QPalette::Text).name(),
             image ? image->pictureName() : QString(), w->styleSheet());
}

TEST_F(WindowTest, PagesMadeWhenFirstOpenedLookAsIfMadeWithTheWindow) {
    auto openTheirPagesInEnglish = [this] {
        plugAndRead();
        click("Btn_Lang2_1");
        QStringList looks;
        for (int p : {2, 3, 4}) {
            click(p == 2 ? "Btn_Adv_1" : p == 3 ? "Btn_Breath_1" : "Btn_Macro_1");
            for (const LayoutControl& c : layoutControls()) {
                if (pageOfControl(c.name) == p) looks << look(find(QString::fromStdString(c.name)));
            }
        }
        return looks;
    };
    EXPECT_FALSE(window->controls().made(2)) << "page 1 shows without the others";
    EXPECT_FALSE(window->controls().made(3));
    EXPECT_FALSE(window->controls().made(4));
    const QStringList madeWhenOpened = openTheirPagesInEnglish();

    mouse.reset();
    bus.unplug(kMousePath);
    createWindow();
    window->controls().makePage(2);
    window->controls().makePage(3);
    window->controls().makePage(4);
    const QStringList madeWithTheWindow = openTheirPagesInEnglish();
    ASSERT_EQ(madeWhenOpened.size(), madeWithTheWindow.size());
    for (qsizetype i = 0; i < madeWhenOpened.size(); ++i)
        EXPECT_EQ(madeWhenOpened[i].toStdString(), madeWithTheWindow[i].toStdString());
}

}  // namespace
}  // namespace kvr::test
