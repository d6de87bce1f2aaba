// What each window tells the window system, read back from a virtual X
// server with xprop, as a window manager or a task bar reads it. The program
// starts its own X server (Xvfb) and runs Qt's X11 platform on it.
#include "app/ExitDlg.h"
#include "app/PealApp.h"
#include "app/PealDlg.h"
#include "app/toolkit/Toolkit.h"
#include "playback/dialogs/PlayDlg.h"
#include "synth/dialogs/GenerateDlg.h"
#include "tests/app/ToolkitTestSupport.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

// A virtual X server of our own, and the application on it.
class XServerEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        const QString xvfb = QStandardPaths::findExecutable("Xvfb");
        if (xvfb.isEmpty() || QStandardPaths::findExecutable("xprop").isEmpty()) {
            return;
        }
        // Displays from a number of our own upwards, until a free one starts.
        for (int display = 200 + QCoreApplication::applicationPid() % 500, tries = 0; tries < 20; ++display, ++tries) {
            const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(display);
            if (QFileInfo::exists(socket) || QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(display))) {
                continue;
            }
            auto server = std::make_unique<QProcess>();
            server->start(xvfb,
                          {QStringLiteral(":%1").arg(display), "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
            if (!server->waitForStarted(kPatienceMs)) {
                continue;
            }
            if (QTest::qWaitFor([&] { return QFileInfo::exists(socket) || server->state() == QProcess::NotRunning; },
                                kPatienceMs) &&
                server->state() == QProcess::Running) {
                name = QStringLiteral(":%1").arg(display).toStdString();
                this->server = std::move(server);
                break;
            }
        }
        if (!this->server) {
            return;
        }
        qputenv("DISPLAY", QByteArray::fromStdString(name));
        // No session bus belongs to this private display; without this the
        // bus library would try to start one for it.
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
        args = {"window-system-tests", "-platform", "xcb"};
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argc = static_cast<int>(argv.size());
        argv.push_back(nullptr);
        app = std::make_unique<QApplication>(argc, argv.data());
        SetUpApplicationIdentity();
    }
    void TearDown() override
    {
        app.reset();
        if (server) {
            server->terminate();
            server->waitForFinished(kPatienceMs);
        }
    }

    static bool Ready() { return QApplication::instance() != nullptr; }

private:
    std::unique_ptr<QProcess> server;
    std::string name;
    std::vector<std::string> args;
    std::vector<char*> argv;
    int argc = 0;
    std::unique_ptr<QApplication> app;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new XServerEnvironment);

// xprop's report of `property` on `window`, e.g.
// `_NET_WM_NAME(UTF8_STRING) = "Carillix"` or `WM_TRANSIENT_FOR:  not found.`.
std::string Property(const QWidget* window, const char* property)
{
    QGuiApplication::sync();
    QProcess xprop;
    xprop.start("xprop", {"-id", QString::number(window->winId()), property});
    xprop.waitForFinished(kPatienceMs);
    return QString::fromUtf8(xprop.readAllStandardOutput()).trimmed().toStdString();
}

std::string Title(const QWidget* window)
{
    const std::string line = Property(window, "_NET_WM_NAME");
    const auto equals = line.find(" = ");
    return equals == std::string::npos ? line : line.substr(equals + 3);
}

bool Has(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// The value of `key` in the application's desktop entry, or "" without one.
std::string DesktopEntryValue(const std::string& key)
{
    std::ifstream entry(CARILLIX_DESKTOP_ENTRY);
    for (std::string line; std::getline(entry, line);) {
        if (line.starts_with(key + "="))
            return line.substr(key.size() + 1);
    }
    return {};
}

std::string WindowId(const QWidget* window)
{
    return QStringLiteral("0x%1").arg(window->winId(), 0, 16).toStdString();
}

// A dialog run over the main window: a transient dialog of it, titled with
// its caption alone.
void ExpectOwnedDialog(const QWidget* window, const QWidget* owner, const std::string& caption)
{
    SCOPED_TRACE(caption);
    EXPECT_EQ(Title(window), "\"" + caption + "\"");
    const std::string type = Property(window, "_NET_WM_WINDOW_TYPE");
    EXPECT_TRUE(Has(type, "_NET_WM_WINDOW_TYPE_DIALOG")) << type;
    const std::string state = Property(window, "_NET_WM_STATE");
    EXPECT_TRUE(Has(state, "_NET_WM_STATE_MODAL")) << state;
    const std::string transientFor = Property(window, "WM_TRANSIENT_FOR");
    EXPECT_TRUE(Has(transientFor, WindowId(owner))) << transientFor;
}

TEST(WindowSystem, TheMainWindowIsAnApplicationWindowAndOwnsDialogsTitledWithTheirCaptions)
{
    if (!XServerEnvironment::Ready()) {
        GTEST_SKIP() << "needs Xvfb and xprop";
    }
    CPealDlg main;
    std::vector<std::string> seen;
    WhenReady shown(
        [&] { return main.IsRunning() && main.Window()->isVisible(); },
        [&] {
            const QWidget* window = main.Window();
            EXPECT_EQ(Title(window), "\"Carillix\"");
            const std::string type = Property(window, "_NET_WM_WINDOW_TYPE");
            EXPECT_TRUE(Has(type, "_NET_WM_WINDOW_TYPE_NORMAL")) << type;
            EXPECT_FALSE(Has(type, "_NET_WM_WINDOW_TYPE_DIALOG")) << type;
            EXPECT_FALSE(Has(Property(window, "_NET_WM_STATE"), "_NET_WM_STATE_MODAL"));
            EXPECT_TRUE(Has(Property(window, "WM_TRANSIENT_FOR"), "not found"));
            // A task bar on X11 finds the desktop entry, and so the icon, by
            // the window's class.
            const std::string wmClass = Property(window, "WM_CLASS");
            EXPECT_TRUE(Has(wmClass, ", \"" + DesktopEntryValue("StartupWMClass") + "\"")) << wmClass;
            const QPoint offset = window->frameGeometry().center() - window->screen()->availableGeometry().center();
            EXPECT_LE(offset.manhattanLength(), 2);

            for (const int layout : {GenerateDlgIds::kLayout, PlayDlgIds::kLayout, ExitDlgIds::kLayout}) {
                CDialog dialog(layout);
                WhenReady up([&] { return dialog.IsRunning() && dialog.Window()->isVisible(); },
                             [&] {
                                 seen.push_back(dialog.Layout().caption.toStdString());
                                 ExpectOwnedDialog(dialog.Window(), window, dialog.Layout().caption.toStdString());
                                 dialog.EndDialog(IDCANCEL);
                             });
                dialog.DoModal();
            }

            WhenShown<QMessageBox> box([&](QMessageBox& shownBox) {
                seen.push_back("message");
                ExpectOwnedDialog(&shownBox, window, "Carillix");
                shownBox.accept();
            });
            ShowMessageBox(main.Window(), "No file selected!");

            for (const bool open : {true, false}) {
                WhenShown<QFileDialog> choice([&](QFileDialog& dialog) {
                    seen.push_back(open ? "open" : "save");
                    ExpectOwnedDialog(&dialog, window, open ? "Open" : "Save As");
                    dialog.reject();
                });
                CFileDialog file(open, "wav", "", OFN_EXPLORER, "Waveform files (.wav)|*.wav|", main.Window());
                file.SetInitialFolder(QDir::tempPath().toStdString());
                file.DoModal();
            }
            main.EndDialog(IDCANCEL);
        });
    main.DoModal();
    EXPECT_EQ(seen, (std::vector<std::string>{"Generate sounds", "Play Waveform", "Exiting Carillix", "message", "open",
                                              "save"}));
}

}  // namespace
