#include "app/toolkit/WindowPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

QMargins OwnFrame(const QWidget* window)
{
    const QWindow* handle = window->windowHandle();
    return handle != nullptr && handle->handle() != nullptr ? handle->frameMargins() : QMargins();
}

// The window's frame once the window system has told it; until then the
// frame of another visible window, which carries the same decorations.
QMargins FrameOf(const QWidget* window)
{
    const QMargins own = OwnFrame(window);
    if (!own.isNull()) {
        return own;
    }
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other != window && other->isVisible()) {
            if (const QMargins theirs = OwnFrame(other); !theirs.isNull()) {
                return theirs;
            }
        }
    }
    return {};
}

int Centred(int start, int length, int inner)
{
    return start + (length - inner) / 2;
}

// Moves `value` into [low, high] when the range is not empty.
int Within(int value, int low, int high)
{
    return high < low ? low : std::clamp(value, low, high);
}

class Centring : public QObject {
public:
    explicit Centring(QWidget* window) : QObject(window), window(window) { window->installEventFilter(this); }

protected:
    // Watches the widget, and its window once it exists: a window manager's
    // frame changes neither the widget's size nor its position, but the
    // window is exposed again once framed.
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Show:
            Place();
            if (!handle && window->windowHandle() != nullptr) {
                handle = window->windowHandle();
                handle->installEventFilter(this);
            }
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Expose:
            if (window->isVisible() && (window->size() != placedSize || FrameOf(window) != placedFrame)) {
                Place();
            }
            break;
        default: break;
        }
        return false;
    }

private:
    void Place()
    {
        const QMargins frame = FrameOf(window);
        const QSize outer = window->size().grownBy(frame);
        QWidget* over = VisibleOwnerWindow(window->parentWidget());
        QScreen* screen = over != nullptr ? over->screen() : window->screen();
        if (screen == nullptr) {
            screen = QGuiApplication::primaryScreen();
        }
        if (screen == nullptr) {
            return;
        }
        const QRect available = screen->availableGeometry();
        const QRect area = over != nullptr ? over->frameGeometry() : available;
        const int x = Centred(area.x(), area.width(), outer.width());
        const int y = Centred(area.y(), area.height(), outer.height());
        const QPoint frameAt(Within(x, available.left(), available.right() + 1 - outer.width()),
                             Within(y, available.top(), available.bottom() + 1 - outer.height()));
        placedSize = window->size();
        placedFrame = frame;
        // move() places the frame by the frame the widget knows so far, which
        // is none until the window system has told it; the client area goes
        // where the frame taken here puts it.
        const QPoint knownFrame = window->geometry().topLeft() - window->pos();
        window->move(frameAt + QPoint(frame.left(), frame.top()) - knownFrame);
    }

    QWidget* window;
    QPointer<QWindow> handle;
    QSize placedSize;
    QMargins placedFrame;
};

}  // namespace

QWidget* VisibleOwnerWindow(QWidget* owner)
{
    for (QWidget* w = owner != nullptr ? owner->window() : nullptr; w != nullptr;
         w = w->parentWidget() != nullptr ? w->parentWidget()->window() : nullptr) {
        if (w->isVisible()) {
            return w;
        }
    }
    return nullptr;
}

void KeepCentred(QWidget* window)
{
    new Centring(window);
}
