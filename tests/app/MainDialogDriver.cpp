#include "tests/app/MainDialogDriver.h"

#include "app/PealApp.h"
#include "sound/SoundFileWriter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace {

void ResetBell(CSoundBuffer& bell)
{
    bell.format = WaveFormat{};
    bell.dataBytes = 0;
    bell.fileName = "No file loaded";
    bell.onset = 0;
    bell.sampleCount = 0;
    bell.samples.reset();
    bell.state = 0;
}

}  // namespace

MainDialogDriver::MainDialogDriver()
{
    for (CSoundBuffer& bell : bells)
        ResetBell(bell);
    theApp.fileDescription.clear();
    theApp.companyName.clear();
    theApp.productVersion.clear();
    theApp.legalNotice.clear();
}

MainDialogDriver::~MainDialogDriver()
{
    for (CSoundBuffer& bell : bells)
        ResetBell(bell);
}

int MainDialogDriver::Run(const std::function<void()>& steps)
{
    script.onDialogShown = [this, &steps](CDialog& shown) {
        if (&shown == &dialog) {
            steps();
            if (dialog.Window()->isVisible()) {
                stayedOpen = true;
                dialog.EndDialog(IDCANCEL);
            }
            return;
        }
        ++dialogsAnswered;
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected dialog " << shown.Window()->windowTitle().toStdString();
            shown.EndDialog(IDCANCEL);
            return;
        }
        const auto answer = answers.front();
        answers.pop_front();
        answer(shown);
    };
    return dialog.DoModal();
}

std::string MainDialogDriver::MakeBellFile(const std::string& name, std::uint32_t rate, std::int32_t onset,
                                           double seconds)
{
    CSoundBuffer bell;
    const auto length = static_cast<std::int32_t>(rate * seconds);
    bell.InitPcm16(rate, length, 16);
    for (std::int32_t i = 0; i < length; ++i) {
        const double t = i < onset ? 0.0 : static_cast<double>(i - onset) / rate;
        const double level = i < onset ? 0.0 : 20000.0 * std::exp(-6.0 * t);
        bell.samples[i] = static_cast<std::int16_t>(level * std::sin(2 * M_PI * 440.0 * t + 1.0));
    }
    const std::string path = folder.filePath(QString::fromStdString(name)).toStdString();
    EXPECT_TRUE(SaveWavTo(bell, path));
    return path;
}

void MainDialogDriver::LoadBells(int count, std::uint32_t rate)
{
    for (int bell = 0; bell < count; ++bell) {
        script.AnswerFileDialog(MakeBellFile("bell" + std::to_string(bell + 1) + ".wav", rate));
        Click(PealDlgIds::kReadFile[bell]);
    }
}

void MainDialogDriver::Click(int id)
{
    Click(dialog, id);
}

void MainDialogDriver::Click(CDialog& target, int id)
{
    auto* button = target.Control<QAbstractButton>(id);
    ASSERT_NE(button, nullptr) << id;
    button->click();
}

void MainDialogDriver::SetText(int id, const std::string& text)
{
    auto* box = dialog.Control<QLineEdit>(id);
    ASSERT_NE(box, nullptr) << id;
    box->setText(QString::fromStdString(text));
}

void MainDialogDriver::SelectEntry(int id, int index)
{
    auto* list = dialog.Control<QComboBox>(id);
    ASSERT_NE(list, nullptr) << id;
    list->setCurrentIndex(index);
}

void MainDialogDriver::PressKey(int key)
{
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target ? target : dialog.Window(), static_cast<Qt::Key>(key));
}

std::function<void(CDialog&)> PressButton(int id)
{
    return [id](CDialog& shown) {
        auto* button = shown.Control<QAbstractButton>(id);
        ASSERT_NE(button, nullptr) << id;
        button->click();
    };
}

std::function<void(CDialog&)> LetItRun()
{
    return [](CDialog&) {};
}
