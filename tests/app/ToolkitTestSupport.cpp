#include "tests/app/ToolkitTestSupport.h"

#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        // An empty data folder: no method library at the default place,
        // whatever the test's user keeps there.
        qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
        app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app.reset(); }

private:
    QTemporaryDir dataHome;
    int argc = 1;
    char name[16] = "carillix-tests";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> app;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace

bool SaveScreenshot(QWidget* widget, const std::string& name)
{
    const QString folder = QStringLiteral(CARILLIX_SCREENSHOT_DIR);
    if (!QDir().mkpath(folder)) {
        return false;
    }
    return widget->grab().save(folder + "/" + QString::fromStdString(name) + ".png");
}
