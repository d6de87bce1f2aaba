#pragma once

#include <functional>
#include <string>

class QWidget;

// Shared by the GUI tests: a QApplication exists for every test (created by
// a global test environment), and screenshots go to build/screenshots/.

// Saves `widget` as <name>.png in the screenshot folder; false on failure.
bool SaveScreenshot(QWidget* widget, const std::string& name);

// Runs `action` from the event loop after `milliseconds`.
void RunSoon(std::function<void()> action, int milliseconds = 0);
