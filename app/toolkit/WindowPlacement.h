#pragma once

class QWidget;

// The nearest visible window among `owner`'s window and the windows it
// belongs to, or null when none is shown (or `owner` is null).
QWidget* VisibleOwnerWindow(QWidget* owner);

// Keeps the top-level `window` centred, frame included, over the nearest
// visible window among its parent and the parent's owners (as they are when
// it is placed), or on the screen when none is shown: placed as it is shown,
// and placed again whenever its size or its frame changes while it is up (a
// window manager adds its frame after the window appears). A move by the
// user is kept. Where the window fits, it stays inside the screen's
// available area.
//
// Call once per window, before it is shown. Thread: user-interface thread.
void KeepCentred(QWidget* window);
