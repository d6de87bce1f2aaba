#include "app/MethodDlg.h"
#include "app/PealDlg.h"
#include "tests/app/MainDialogDriver.h"
#include "tests/app/ToolkitTestSupport.h"
#include "tests/cli/RunCli.h"
#include "tests/sound/ReadBack.h"

#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace PealDlgIds;

namespace {

using Messages = std::vector<std::string>;
constexpr std::uint32_t kRate = 8000;

// An answer for the Method dialog: chooses `title` from the list, types
// the calling (or the calls, box `callsBox`), asks for the whole touch, and
// presses OK.
std::function<void(CDialog&)> ChooseMethod(const std::string& title, const std::string& calling,
                                           int callsBox = MethodDlgIds::kCalling)
{
    return [=](CDialog& shown) {
        auto& dialog = dynamic_cast<CMethodDlg&>(shown);
        dialog.SetControlText(MethodDlgIds::kFind, title);
        ASSERT_EQ(dialog.GetListItem(MethodDlgIds::kMethods, 0), title);
        dialog.SetListSelection(MethodDlgIds::kMethods, 0);
        dialog.SetControlText(callsBox, calling);
        dialog.CheckDlgButton(MethodDlgIds::kWholeTouch, true);
        dialog.OnOK();
    };
}

std::vector<char> Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The window rings a method with a calling, chosen through the Method
// dialog, exactly as the command line renders the same settings.
TEST(MainDialogMethod, RingsACallingAsTheCommandLineDoes)
{
    MainDialogDriver d;
    const std::string path = d.folder.filePath("window").toStdString();
    d.Run([&] {
        d.LoadBells(6, kRate);
        d.SetText(kStrikingError, "0");
        d.answers.push_back(ChooseMethod("Plain Bob Minor", "3H"));
        d.Click(kMethod);
        EXPECT_EQ(d.Text(kBellCountList), "");
        EXPECT_EQ(d.dialog.Control<QComboBox>(kBellCountList)->currentText(), " 6");
        EXPECT_FALSE(d.dialog.IsRadioChecked(kStyleFirst));
        const QLineEdit* line = d.dialog.Control<QLineEdit>(kMethodLine);
        EXPECT_EQ(line->toolTip(), "Plain Bob Minor: 3H, whole touch; even");
        EXPECT_EQ(line->accessibleName(), line->toolTip());
        d.answers.push_back(LetItRun());
        d.Click(kGenerate);
        d.script.AnswerFileDialog(path);  // takes the first entry's extension
        d.Click(kWriteFile);
    });
    EXPECT_EQ(d.script.messages, Messages{});
    std::string bellFiles;
    for (int bell = 1; bell <= 6; ++bell)
        bellFiles += " '" + d.folder.filePath(QString("bell%1.wav").arg(bell)).toStdString() + "'";
    const std::string cliPath = d.folder.filePath("cli.wav").toStdString();
    const CliRun run = RunCli("render --method 'Plain Bob Minor' --calling 3H --striking-error 0 --length touch" +
                              bellFiles + " -o '" + cliPath + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto window = Bytes(path + ".wav");
    EXPECT_GT(window.size(), 48u + 2u * 180 * 6 * 1000);  // 180 changes of six bells, each well over 1000 samples
    EXPECT_TRUE(window == Bytes(cliPath));
}

// Write File: a typed extension that names a type wins; any other name is
// written in the chosen entry's type, a name without an extension taking
// its extension; the overwrite question is asked for the final name. Read
// back by ffmpeg, apart from the writer.
TEST(MainDialogMethod, WriteFileWritesTheTypeTheNameOrTheChosenEntrySays)
{
    if (!HaveFfmpeg())
        GTEST_SKIP() << "needs ffmpeg";
    struct Case {
        const char* typed;
        int entry;  // 1 wav, 2 flac, 3 ogg, 4 opus, 5 mp3
        const char* written;
        const char* codec;
    };
    const Case cases[] = {
        {"peal.mp3", 1, "peal.mp3", "mp3"},    {"peal.xyz", 1, "peal.xyz", "pcm_s16le"},
        {"peal", 2, "peal.flac", "flac"},      {"peal.WAV", 5, "peal.WAV", "pcm_s16le"},
        {"band.xyz", 5, "band.xyz", "mp3"},    {"peal", 4, "peal.opus", "opus"},
        {"peal.ogg", 3, "peal.ogg", "vorbis"}, {"peal", 2, "peal.flac", "flac"},
    };
    MainDialogDriver d;
    d.Run([&] {
        d.LoadBells(10, kRate);
        d.answers.push_back(LetItRun());
        d.Click(kGenerate);
        for (const Case& c : cases) {
            d.script.AnswerFileDialog(d.folder.filePath(c.typed).toStdString(), c.entry);
            d.Click(kWriteFile);
        }
    });
    EXPECT_EQ(d.script.messages, Messages{});
    const std::string again = d.folder.filePath("peal.flac").toStdString();
    EXPECT_EQ(d.script.overwriteQuestions, Messages{again});
    for (const Case& c : cases) {
        const auto decoded = DecodeWithFfmpeg(d.folder.filePath(c.written).toStdString());
        ASSERT_TRUE(decoded) << c.written;
        EXPECT_EQ(decoded->codec, c.codec) << c.written;
        EXPECT_EQ(decoded->channels, 1);
        EXPECT_NEAR(static_cast<double>(decoded->Frames()) / decoded->rate, 10.0, 0.01) << c.written;
    }
}

// A style button takes the method away; fewer bells than its stage, and a
// whole touch longer than the window keeps, are refused with what to do.
TEST(MainDialogMethod, RefusalsSayWhatToDo)
{
    MainDialogDriver d;
    std::string bellFiles;
    d.Run([&] {
        d.LoadBells(8, kRate);
        for (int bell = 1; bell <= 8; ++bell)
            bellFiles.append(" ").append(d.folder.filePath(QString("bell%1.wav").arg(bell)).toStdString());
        d.answers.push_back(ChooseMethod("Plain Bob Major", "pbpbpbs", MethodDlgIds::kCalls));
        d.Click(kMethod);
        d.SelectEntry(kPealSpeedList, 5);
        d.Click(kGenerate);  // 1344 changes at 4h 00
        d.SelectEntry(kBellCountList, 1);
        d.Click(kGenerate);
        d.Click(kStyleFirst + 2);
        EXPECT_EQ(d.Text(kMethodLine), "");
        d.answers.push_back(PressButton(MethodDlgIds::kClear));
        d.Click(kMethod);
        EXPECT_TRUE(d.dialog.IsRadioChecked(kStyleFirst + 2));
    });
    ASSERT_EQ(d.script.messages.size(), 2u);
    EXPECT_EQ(d.script.messages[0],
              "Plain Bob Major: the whole touch rings 1,344 changes, 1:04:57 of sound; the window keeps up to 60 "
              "minutes. The command line rings touches and peals of any length, writing them as it goes:\n\n"
              "carillix-cli render --method 'Plain Bob Major' --calls pbpbpbs --bob 14 --single 1234 --bells 8 "
              "--peal-speed 4h00 "
              "--striking-error 5 --length touch" +
                  bellFiles + " -o peal.wav");
    EXPECT_EQ(d.script.messages[1], "Plain Bob Major needs 8 bells: choose 8 or more under \"No. of bells\".");
    EXPECT_EQ(d.dialog.outputSound.state, 0);
}

}  // namespace
