#pragma once
// Message boxes go through this interface so that tests and the screenshot mode never open a
// modal box.
#include <QString>
#include <QStringList>

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
    // text shown, a bar, the pattern.
    virtual QString saveFileName(const QString& filter) = 0;
    virtual QString openFileName(const QString& filter) = 0;
};

class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void message(const QString& title, const QString& text) override;
    void error(const QString& text) override;
    QString saveFileName(const QString& filter) override;
    QString openFileName(const QString& filter) override;

private:
    QWidget* parent_;
};

// Writes every message to standard error instead of showing it; file dialogs are cancelled.
class StderrDialogs final : public Dialogs {
public:
    void message(const QString& title, const QString& text) override;
    void error(const QString& text) override;
    QString saveFileName(const QString&) override { return {}; }
    QString openFileName(const QString&) override { return {}; }
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
    QString answer(const QString& request) {
        fileRequests.append(request);
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
    QStringList fileAnswers;
    QStringList fileRequests;  // "save SaveFile(*.bin)|*.bin", ...
    QStringList messages;
    QStringList texts;
    QStringList errors;
};

}  // namespace kvr
