#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>

// Shared by the GUI tests: a QApplication exists for every test (created by
// a global test environment, which also points XDG_DATA_HOME at an empty
// folder), and screenshots go to build/screenshots/.
// Tests wait for conditions, never for a length of time.

// Saves `widget` as <name>.png in the screenshot folder; false on failure.
bool SaveScreenshot(QWidget* widget, const std::string& name);

// How long a condition may take before a test gives up on it: far beyond
// anything a loaded machine needs, only there to turn a hang into a failure.
inline constexpr int kPatienceMs = 60000;

// Looks for `ready` to hold, every few milliseconds from the event loop
// (nested modal loops included), then runs `action` once and stops looking.
// Destroying it stops the looking.
class WhenReady {
public:
    WhenReady(std::function<bool()> ready, std::function<void()> action)
    {
        timer.setInterval(2);
        QObject::connect(&timer, &QTimer::timeout, [this, ready = std::move(ready), action = std::move(action)] {
            if (done || !ready()) {
                return;
            }
            done = true;
            timer.stop();
            action();
        });
        timer.start();
    }
    WhenReady(const WhenReady&) = delete;
    WhenReady& operator=(const WhenReady&) = delete;

    bool Done() const { return done; }

private:
    QTimer timer;
    bool done = false;
};

// The active modal widget when it is a T that is shown, else null.
template <typename T>
T* ShownModal()
{
    T* widget = qobject_cast<T*>(QApplication::activeModalWidget());
    return widget != nullptr && widget->isVisible() ? widget : nullptr;
}

// Runs `action` on the active modal widget as soon as it is a shown T.
template <typename T>
class WhenShown : public WhenReady {
public:
    explicit WhenShown(std::function<void(T&)> action)
        : WhenReady([] { return ShownModal<T>() != nullptr; }, [action] { action(*ShownModal<T>()); })
    {
    }
};
