#include "gui/digit_filter.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace kvr {

namespace {

constexpr char16_t kBackspace = 8;

class DigitKeyFilter final : public QObject {
public:
    explicit DigitKeyFilter(QObject* parent) : QObject(parent) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        // Shortcuts (Ctrl+C, Ctrl+V) type no character of their own.
        if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
            return QObject::eventFilter(watched, event);
        for (QChar c : key->text()) {
            if (!Edt_Repeat1KeyPress(c)) return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

bool Edt_Repeat1KeyPress(QChar typed) {
    return (typed >= u'0' && typed <= u'9') || typed == QChar(kBackspace) || !typed.isPrint();
}

void installDigitFilter(QLineEdit* field) {
    field->installEventFilter(new DigitKeyFilter(field));
    field->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), field));
}

}  // namespace kvr
