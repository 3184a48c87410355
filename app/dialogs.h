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
};

class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void message(const QString& title, const QString& text) override;
    void error(const QString& text) override;

private:
    QWidget* parent_;
};

// Writes every message to standard error instead of showing it.
class StderrDialogs final : public Dialogs {
public:
    void message(const QString& title, const QString& text) override;
    void error(const QString& text) override;
};

// Keeps every message for a test to inspect.
class RecordingDialogs final : public Dialogs {
public:
    void message(const QString& title, const QString& text) override {
        messages.append(title.isEmpty() ? text : title + ": " + text);
        texts.append(text);
    }
    void error(const QString& text) override { errors.append(text); }
    QStringList messages;
    QStringList texts;
    QStringList errors;
};

}  // namespace kvr
