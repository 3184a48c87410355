// What the user sees: captions that fit their buttons, text that can be read on its field.
#include <QEnterEvent>
#include <QFontInfo>
#include <QImage>
#include <QAbstractItemView>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>

#include "window_fixture.h"

namespace kvr::test {
namespace {

// Contrast of two colours as the accessibility guidelines measure it, from 1 to 21.
double contrast(QColor a, QColor b) {
    auto luminance = [](QColor c) {
        auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST_F(WindowTest, CommonButtonCaptionsFitTheirButtonsInEveryLanguage) {
    plugAndRead();
    for (int language = 1; language <= 3; ++language) {
        if (language == 1) window->Btn_Lang1_0Click();
        if (language == 2) window->Btn_Lang2_0Click();
        if (language == 3) window->Btn_Lang3_0Click();
        for (const QString& name : kCommonButtonNames) {
            for (int p = 1; p <= 4; ++p) {
                const CaptionLabel* c =
                    window->controls().caption(QString("Btn_%1_%2").arg(name).arg(p));
                ASSERT_NE(c, nullptr);
                SCOPED_TRACE(QString("language %1, %2: \"%3\"")
                                 .arg(language)
                                 .arg(c->objectName(), c->text())
                                 .toStdString());
                EXPECT_FALSE(c->text().isEmpty());
                EXPECT_FALSE(c->captionLines().isEmpty());
                EXPECT_EQ(QFontInfo(c->font()).family(), "Yanone Kaffeesatz");
            }
        }
    }
}

TEST_F(WindowTest, AHoveredCaptionStaysOnOneLineForTheMarquee) {
    plugAndRead();
    CaptionLabel* c = window->controls().caption("Btn_Main_1");
    ASSERT_EQ(c->text(), "Controle Principal");
    EXPECT_EQ(c->captionLines(), QStringList({"Controle", "Principal"}));
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(c, &enter);
    EXPECT_TRUE(c->captionLines().isEmpty());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(c, &leave);
    EXPECT_EQ(c->text(), "Controle Principal");
    EXPECT_EQ(c->captionLines().size(), 2);
}

TEST_F(WindowTest, EveryEditBoxTextIsReadableOnItsField) {
    plugAndRead();
    // Every page opened as its owner opens it: a field is first drawn with its page.
    for (const char* pageButton : {"Btn_Adv_1", "Btn_Breath_2", "Btn_Macro_3"}) click(pageButton);
    for (QLineEdit* edit : window->findChildren<QLineEdit*>()) {
        SCOPED_TRACE(edit->objectName().toStdString());
        // The field as drawn, inside its border, against the colour its text is drawn in.
        const QImage field = edit->grab().toImage();
        const QColor back = field.pixelColor(field.width() - 3, field.height() / 2);
        EXPECT_GE(contrast(edit->palette().color(QPalette::Text), back), 3.0)
            << "text " << edit->palette().color(QPalette::Text).name().toStdString() << " on "
            << back.name().toStdString();
    }
}

// Qt's own file dialog, owned by the window as the profile and library dialogs are: every field,
// list and caption reads on what it is drawn on.
TEST_F(WindowTest, TheFileDialogsTextsAreReadable) {
    QFileDialog dialog(window.get());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter("SaveFile (*.bin)");
    // A short path in the look-in field, so that its middle shows the field and not a letter of
    // whatever folder the tests run in.
    dialog.setDirectory("/");
    giveReadableLook(dialog);
    dialog.show();
    dialog.selectFile("profile");
    QCoreApplication::processEvents();
    int checked = 0;
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (!w->isVisible()) continue;
        SCOPED_TRACE((w->metaObject()->className() + (" " + w->objectName())).toStdString());
        const QPalette pal = w->palette();
        if (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w)) {
            // As drawn: the field's inside, against the colour its text is drawn in.
            const QImage field = w->grab().toImage();
            const QColor back = field.pixelColor(field.width() / 2, field.height() / 2 + 1);
            const QColor text =
                pal.color(qobject_cast<QComboBox*>(w) ? QPalette::ButtonText : QPalette::Text);
            EXPECT_GE(contrast(text, back), 4.5)
                << text.name().toStdString() << " on " << back.name().toStdString();
            ++checked;
        } else if (qobject_cast<QLabel*>(w)) {
            EXPECT_GE(contrast(pal.color(QPalette::WindowText), pal.color(QPalette::Window)), 4.5);
            ++checked;
        } else if (qobject_cast<QAbstractItemView*>(w)) {
            EXPECT_GE(contrast(pal.color(QPalette::Text), pal.color(QPalette::Base)), 4.5);
            ++checked;
        }
    }
    EXPECT_GE(checked, 6) << "look in, file name, files of type, their captions, the lists";
}

// A context panel's entry under the pointer is drawn in the highlight, inside the panel; off it,
// the panel shows beneath it again.
TEST_F(WindowTest, AHoveredPanelEntryIsDrawnInItsPanel) {
    plugAndRead();
    window->Btn_Macro_0Click();
    QWidget* panel = find("Pnl_PCMacro");
    panel->show();
    QWidget* entry = find("Btn_NewMacro");
    const QPoint inside = entry->geometry().topLeft() + QPoint(entry->width() - 4, 6);
    const QColor plain = panel->grab().toImage().pixelColor(inside);
    ASSERT_EQ(plain.alpha(), 255);

    enter("Btn_NewMacro");
    EXPECT_EQ(panel->grab().toImage().pixelColor(inside),
              window->palette().color(QPalette::Highlight));
    leave("Btn_NewMacro");
    EXPECT_EQ(panel->grab().toImage().pixelColor(inside), plain);
}

}  // namespace
}  // namespace kvr::test
