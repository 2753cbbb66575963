#pragma once
// Settable fakes of the small seams: shell, clock, keyboard, system facts and
// browser lookup.

#include "platform/BrowserLookup.h"
#include "platform/Clock.h"
#include "platform/InputMethod.h"
#include "platform/Keyboard.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"
#include "support/QtPrinters.h"

#include <QDateTime>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

struct LaunchRecord {
    QString program;
    QStringList arguments;
    bool operator==(const LaunchRecord&) const = default;
};

// Records what would have been opened or started; nothing is.
class FakeShell : public Shell {
public:
    using Shell::launch;
    using Shell::open;

    bool open(const QString& documentOrAddress, QString* error) override {
        opened_.append(documentOrAddress);
        return answer(openResult_, error);
    }
    bool launch(const QString& program, const QStringList& arguments, QString* error) override {
        launched_.append(LaunchRecord{program, arguments});
        return answer(launchResult_, error);
    }

    // What open() and launch() answer (true unless set), and the reason they
    // give when they answer false.
    void setOpenResult(bool result) { openResult_ = result; }
    void setLaunchResult(bool result) { launchResult_ = result; }
    void setFailureText(const QString& text) { failureText_ = text; }

    const QStringList& opened() const { return opened_; }
    const QList<LaunchRecord>& launched() const { return launched_; }
    void clear() {
        opened_.clear();
        launched_.clear();
    }

private:
    bool answer(bool result, QString* error) const {
        if (!result && error)
            *error = failureText_;
        return result;
    }

    QStringList opened_;
    QList<LaunchRecord> launched_;
    bool openResult_ = true;
    bool launchResult_ = true;
    QString failureText_ = QStringLiteral("fake shell failure");
};

// A clock that stands still where it is set (2024-01-01 12:00 local time unless set).
class FakeClock : public Clock {
public:
    QDateTime now() const override { return now_; }
    void setNow(const QDateTime& now) { now_ = now; }

private:
    QDateTime now_{QDate(2024, 1, 1), QTime(12, 0)};
};

class FakeKeyboard : public Keyboard {
public:
    bool shiftHeld() const override { return shift_; }
    void setShiftHeld(bool held) { shift_ = held; }

private:
    bool shift_ = false;
};

// An input method that is off until switched; every switch is recorded.
// setAnswersState(false) makes it a framework that does not know the window
// yet: its state stays Unknown whatever is asked.
class FakeInputMethod : public InputMethod {
public:
    void setOn(bool on) override {
        switches_.append(on);
        if (answers_)
            state_ = on ? State::On : State::Off;
    }
    State state() const override { return answers_ ? state_ : State::Unknown; }

    void setState(State state) { state_ = state; }
    void setAnswersState(bool answers) { answers_ = answers; }
    // true for each switch on, false for each switch off, in order.
    const QList<bool>& switches() const { return switches_; }
    void clear() { switches_.clear(); }

private:
    State state_ = State::Off;
    bool answers_ = true;
    QList<bool> switches_;
};

// Defaults: a 1920×1080 screen, 8 GiB of memory, "Test OS 1.0".
class FakeSystemInfo : public SystemInfo {
public:
    QSize primaryScreenSize() const override { return screen_; }
    qint64 physicalMemoryBytes() const override { return memory_; }
    QString osVersion() const override { return os_; }

    void setPrimaryScreenSize(QSize size) { screen_ = size; }
    void setPhysicalMemoryBytes(qint64 bytes) { memory_ = bytes; }
    void setOsVersion(const QString& text) { os_ = text; }

private:
    QSize screen_{1920, 1080};
    qint64 memory_ = qint64(8) << 30;
    QString os_ = QStringLiteral("Test OS 1.0");
};

// No browser is installed unless set.
class FakeBrowserLookup : public BrowserLookup {
public:
    std::optional<QString> internetExplorer() const override { return ie_; }
    std::optional<QString> netscape() const override { return netscape_; }
    std::optional<QString> opera() const override { return opera_; }

    void setInternetExplorer(std::optional<QString> path) { ie_ = std::move(path); }
    void setNetscape(std::optional<QString> path) { netscape_ = std::move(path); }
    void setOpera(std::optional<QString> path) { opera_ = std::move(path); }

private:
    std::optional<QString> ie_;
    std::optional<QString> netscape_;
    std::optional<QString> opera_;
};
