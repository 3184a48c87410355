#pragma once
// Message boxes go through this interface so that tests and the screenshot mode never open a
// modal box.
#include <QString>
#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>

class QDialog;
class QWidget;

namespace kvr {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A box with one OK button; returns when it is closed.
    virtual void message(const QString& title, const QString& text) = 0;
    // An error box (a missing built-in resource, a table that cannot be applied).
    virtual void error(const QString& text) = 0;
    // The file chosen in a save dialog, after its question before overwriting, or in an open
    // dialog; empty when the dialog was cancelled. `filter` reads "SaveFile(*.bin)|*.bin": the
    // text shown, a bar, the pattern; more types follow with a bar each, the first one offered
    // first.
    virtual QString saveFileName(const QString& filter) = 0;
    virtual QString openFileName(const QString& filter) = 0;
    // A box with one OK button that does not wait to be closed: the program goes on meanwhile
    // (the no-mouse message, while the mouse is still looked for). Only one with the same text
    // is shown at a time.
    virtual void notice(const QString& title, const QString& text) = 0;
    // Closes the notice showing `text`, when one is open.
    virtual void withdrawNotice(const QString& text) = 0;
    // A question answered with one of `buttons`, shown in that order: the index of the one
    // pressed. Return presses `byDefault`; Escape or the close box give `onEscape`.
    virtual int ask(const QString& title, const QString& text, const QStringList& buttons,
                    int byDefault, int onEscape) = 0;
};

// Qt's own file dialog with fields that read: the window's style sheet, meant for the skin's
// fields, reaches the dialogs it owns. A desktop's own dialog keeps its look.
void giveReadableLook(QDialog& dialog);

class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void message(const QString& title, const QString& text) override;
    void error(const QString& text) override;
    QString saveFileName(const QString& filter) override;
    QString openFileName(const QString& filter) override;
    int ask(const QString& title, const QString& text, const QStringList& buttons, int byDefault,
            int onEscape) override;
    void notice(const QString& title, const QString& text) override;
    void withdrawNotice(const QString& text) override;

private:
    QWidget* parent_;
    QList<QPointer<QMessageBox>> notices_;
};

// Writes every message to standard error instead of showing it; file dialogs are cancelled and
// questions take their default answer.
class StderrDialogs final : public Dialogs {
public:
    void message(const QString& title, const QString& text) override;
    void error(const QString& text) override;
    QString saveFileName(const QString&) override { return {}; }
    QString openFileName(const QString&) override { return {}; }
    void notice(const QString& title, const QString& text) override { message(title, text); }
    void withdrawNotice(const QString&) override {}
    int ask(const QString& title, const QString& text, const QStringList&, int byDefault,
            int) override {
        message(title, text);
        return byDefault;
    }
};

// Keeps every message for a test to inspect.
class RecordingDialogs final : public Dialogs {
public:
    void message(const QString& title, const QString& text) override {
        messages.append(title.isEmpty() ? text : title + ": " + text);
        texts.append(text);
    }
    void error(const QString& text) override { errors.append(text); }
    // File dialogs take the scripted answers in order; none left means cancelled.
    QString saveFileName(const QString& filter) override { return answer("save " + filter); }
    QString openFileName(const QString& filter) override { return answer("open " + filter); }
    // Notices are kept with the messages; `withdrawn` holds the texts of those closed by the
    // program.
    void notice(const QString& title, const QString& text) override {
        message(title, text);
        notices.append(text);
    }
    void withdrawNotice(const QString& text) override {
        if (notices.removeAll(text) > 0) withdrawn.append(text);
    }
    // Questions take the scripted answers in order; none left means the default one.
    int ask(const QString&, const QString& text, const QStringList& buttons, int byDefault,
            int onEscape) override {
        questions.append(text);
        questionButtons.append(buttons.join('|'));
        defaultAnswers.append(byDefault);
        escapeAnswers.append(onEscape);
        return answers.isEmpty() ? byDefault : answers.takeFirst();
    }
    QString answer(const QString& request) {
        fileRequests.append(request);
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
    QStringList fileAnswers;
    QStringList fileRequests;  // "save SaveFile(*.bin)|*.bin", ...
    QStringList messages;
    QStringList texts;
    QStringList errors;
    QStringList notices;  // open
    QStringList withdrawn;
    QList<int> answers;
    QStringList questions;
    QStringList questionButtons;  // "Sim|Não"
    QList<int> defaultAnswers;
    QList<int> escapeAnswers;
};

}  // namespace kvr
