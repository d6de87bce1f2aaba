#include "app/PealApp.h"
#include "app/PealDlg.h"
#include "playback/SimulatedWaveOut.h"
#include "sound/BinaryFile.h"
#include "sound/WavFile.h"
#include "synth/PealRender.h"
#include "synth/StrikeRandom.h"
#include "tests/app/MainDialogDriver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <vector>

using namespace PealDlgIds;

namespace {

using Messages = std::vector<std::string>;

constexpr std::uint32_t kRate = 8000;

// Ten bells loaded at 8000 Hz and a completed ten-second generation.
void GenerateOnce(MainDialogDriver& d)
{
    d.LoadBells(10, kRate);
    d.answers.push_back(LetItRun());
    d.Click(kGenerate);
}

TEST(MainDialogGeneration, ACompletedGenerationEnablesPlayAndWrite)
{
    MainDialogDriver d;
    d.Run([&] {
        GenerateOnce(d);
        EXPECT_TRUE(d.Enabled(kPlayFile));
        EXPECT_TRUE(d.Enabled(kWriteFile));
    });
    EXPECT_EQ(d.script.messages, Messages{});
    EXPECT_EQ(d.dialogsAnswered, 1);
    EXPECT_EQ(d.dialog.outputSound.state, 1);
    EXPECT_EQ(d.dialog.stage, 10);
    EXPECT_EQ(d.dialog.totalSamples, 80000);
    EXPECT_EQ(d.dialog.fadeSamples, 20000);  // halved below fifteen seconds
    EXPECT_EQ(d.dialog.outputSound.sampleCount, 80000);
    EXPECT_EQ(d.dialog.outputSound.format.sampleRate, kRate);
}

std::vector<std::int16_t> OutputOf(const CPealDlg& dialog)
{
    const CSoundBuffer& output = dialog.outputSound;
    return {output.samples.get(), output.samples.get() + output.sampleCount};
}

// What the dialog's default settings render over the loaded bells when the
// striking error draws from `random`.
std::vector<std::int16_t> RenderDefaults(StrikeRandom& random)
{
    RenderRequest request;
    request.random = &random;
    const RenderPlan plan = PlanRender(request, bells.data(), kRate);
    EXPECT_TRUE(plan.ok);
    std::vector<std::int16_t> output(static_cast<std::size_t>(plan.totalSamples));
    PealRender render(request, plan, bells.data());
    EXPECT_TRUE(render.RenderInto(output.data()));
    render.Run();
    return output;
}

// The striking error comes from one generator that the application keeps
// for its whole life: generating twice with the same settings gives two
// different outputs, each drawing on where the last stopped, and a fresh
// application starts from the same sequence as every run.
TEST(MainDialogGeneration, TheStrikingErrorRunsOnFromOneGenerationToTheNext)
{
    CPealApp fresh;
    StrikeRandom everyRun(kDefaultStrikeSeed);
    for (int draw = 0; draw < 100; ++draw)
        ASSERT_EQ(fresh.strikeRandom.Next(), everyRun.Next()) << draw;

    MainDialogDriver d;
    StrikeRandom expected = theApp.strikeRandom;
    std::vector<std::int16_t> first;
    std::vector<std::int16_t> second;
    d.Run([&] {
        GenerateOnce(d);
        first = OutputOf(d.dialog);
        d.answers.push_back(LetItRun());
        d.Click(kGenerate);
        second = OutputOf(d.dialog);
    });
    EXPECT_EQ(d.script.messages, Messages{});
    ASSERT_EQ(first.size(), 80000u);
    EXPECT_NE(first, second);
    EXPECT_EQ(first, RenderDefaults(expected));
    EXPECT_EQ(second, RenderDefaults(expected));
}

TEST(MainDialogGeneration, ACancelledGenerationDisablesPlayAndWrite)
{
    MainDialogDriver d;
    d.Run([&] {
        GenerateOnce(d);
        ASSERT_TRUE(d.Enabled(kPlayFile));
        // The second Cancel ends the generation at once.
        d.answers.push_back([](CDialog& generation) {
            generation.OnCancel();
            generation.OnCancel();
        });
        d.Click(kGenerate);
        EXPECT_FALSE(d.Enabled(kPlayFile));
        EXPECT_FALSE(d.Enabled(kWriteFile));
    });
    EXPECT_EQ(d.script.messages, Messages{"Generation cancelled"});
    EXPECT_EQ(d.dialog.outputSound.state, 0);
}

TEST(MainDialogGeneration, ClearAllFilesKeepsTheOutput)
{
    MainDialogDriver d;
    d.Run([&] {
        GenerateOnce(d);
        d.Click(kClearAll);
        EXPECT_EQ(d.Text(kBellName[0]), "");
        EXPECT_EQ(d.Text(kSampleRate), "0");
        EXPECT_TRUE(d.Enabled(kPlayFile));
        EXPECT_TRUE(d.Enabled(kWriteFile));
        // The next generation is refused: the bells are gone.
        d.Click(kGenerate);
    });
    EXPECT_EQ(d.script.messages, Messages{"load more files!"});
    EXPECT_EQ(d.dialog.outputSound.state, 1);
}

TEST(MainDialogGeneration, RefusalsShowTheirMessageAndChangeNothing)
{
    struct Case {
        const char* name;
        std::function<void(MainDialogDriver&)> prepare;
        std::string message;
    };
    const Case cases[] = {
        {"length 9", [](MainDialogDriver& d) { d.SetText(kLength, "9"); }, "Recording length too short or too long!"},
        {"length 701", [](MainDialogDriver& d) { d.SetText(kLength, "701"); },
         "Recording length too short or too long!"},
        {"bell 8 of 8 missing",
         [](MainDialogDriver& d) {
             d.SelectEntry(kBellCountList, 2);
             bells[7].state = 0;
         },
         "load more files!"},
        {"length not a number", [](MainDialogDriver& d) { d.SetText(kLength, "ten"); }, "Please enter an integer."},
        {"striking error 150", [](MainDialogDriver& d) { d.SetText(kStrikingError, "150"); },
         "Please enter an integer between 0 and 100."},
        {"striking error -1", [](MainDialogDriver& d) { d.SetText(kStrikingError, "-1"); },
         "Please enter an integer between 0 and 100."},
    };
    MainDialogDriver d;
    d.Run([&] {
        GenerateOnce(d);
        ASSERT_TRUE(d.Enabled(kPlayFile));
        for (const Case& c : cases) {
            d.SetText(kLength, "10");
            d.SetText(kStrikingError, "5");
            d.SelectEntry(kBellCountList, 3);
            for (int bell = 0; bell < 10; ++bell)
                bells[bell].state = 1;
            d.script.messages.clear();
            c.prepare(d);
            d.Click(kGenerate);
            EXPECT_EQ(d.script.messages, Messages{c.message}) << c.name;
            EXPECT_TRUE(d.Enabled(kPlayFile)) << c.name;
            EXPECT_EQ(d.dialog.outputSound.state, 1) << c.name;
            EXPECT_EQ(d.dialog.outputSound.sampleCount, 80000) << c.name;
        }
    });
    EXPECT_EQ(d.dialogsAnswered, 1);  // only the first generation ran
}

TEST(MainDialogGeneration, ARefusalForMissingBellsKeepsTheStageAndThePrincipleRule)
{
    MainDialogDriver d;
    d.Run([&] {
        d.Click(kStyleLast);  // "Principle"
        d.Click(kGenerate);   // ten bells, none loaded
        EXPECT_TRUE(d.dialog.IsRadioChecked(kStyleLast));
    });
    EXPECT_EQ(d.script.messages, Messages{"load more files!"});
    EXPECT_EQ(d.dialog.stage, 10);
    EXPECT_EQ(d.dialog.style, StyleStedman);
}

TEST(MainDialogGeneration, BellsDeclaringARateOfZeroAreRefusedBeforeAnyDivision)
{
    MainDialogDriver d;
    d.Run([&] {
        for (int bell = 0; bell < 10; ++bell)
            bells[bell].state = 1;  // loaded, yet no rate was ever set
        d.Click(kGenerate);
        EXPECT_FALSE(d.Enabled(kPlayFile));
    });
    ASSERT_EQ(d.script.messages.size(), 1u);
    EXPECT_NE(d.script.messages[0].find("sample rate"), std::string::npos);
    EXPECT_EQ(d.dialogsAnswered, 0);
    EXPECT_EQ(d.dialog.outputSound.sampleCount, 0);
}

TEST(MainDialogGeneration, WriteFileSavesTheOutput)
{
    MainDialogDriver d;
    const std::string path = d.folder.filePath("peal.wav").toStdString();
    d.Run([&] {
        GenerateOnce(d);
        d.Click(kWriteFile);  // the file choice is cancelled: no message
        d.script.AnswerFileDialog(path);
        d.Click(kWriteFile);
    });
    EXPECT_EQ(d.script.messages, Messages{});
    ASSERT_EQ(d.script.fileDialogs.size(), 12u);
    const auto& choice = d.script.fileDialogs.back();
    EXPECT_FALSE(choice.openFileDialog);
    EXPECT_EQ(choice.defaultExtension, "wav");
    EXPECT_EQ(choice.flags, 0x80802u);  // the folder must exist; ask before replacing
    EXPECT_EQ(choice.filter,
              "Waveform files (.wav)|*.wav|FLAC files (.flac)|*.flac|Ogg Vorbis files (.ogg)|*.ogg|"
              "Opus files (.opus)|*.opus|MP3 files (.mp3)|*.mp3|");
    EXPECT_EQ(d.dialog.outputSound.fileName, path);
    EXPECT_EQ(QFileInfo(QString::fromStdString(path)).size(), 48 + 2 * 80000);
}

std::vector<std::string> InitialFolders(const MainDialogDriver& d)
{
    std::vector<std::string> folders;
    for (const auto& choice : d.script.fileDialogs)
        folders.push_back(choice.initialFolder);
    return folders;
}

// The bell choice opens in the demo bells' folder at first, then where the
// last bell came from; the output choice opens where the last output went,
// else where the last bell came from.
TEST(MainDialogGeneration, FileChoicesOpenWhereTheUserLastWas)
{
    MainDialogDriver d;
    const std::string demo = CPealDlg::DemoBellFolder();
    const std::string bellFolder = d.folder.path().toStdString();
    ASSERT_TRUE(QDir(d.folder.path()).mkdir("out"));
    const std::string outFolder = d.folder.filePath("out").toStdString();
    d.Run([&] {
        GenerateOnce(d);      // ten bells from bellFolder
        d.Click(kWriteFile);  // cancelled
        d.script.AnswerFileDialog(outFolder + "/peal.wav");
        d.Click(kWriteFile);
        d.Click(kWriteFile);    // cancelled
        d.Click(kReadFile[0]);  // cancelled
    });
    std::vector<std::string> expected{demo};
    expected.insert(expected.end(), 9, bellFolder);
    expected.insert(expected.end(), {bellFolder, bellFolder, outFolder, bellFolder});
    EXPECT_EQ(InitialFolders(d), expected);
}

// Nobody may write to the installed demo bells' folder: with bells from it
// and nothing written yet, the output choice opens in the home folder.
TEST(MainDialogGeneration, TheOutputChoiceNeverOpensAmongTheDemoBells)
{
    MainDialogDriver d;
    const std::string demo = CPealDlg::DemoBellFolder();
    ASSERT_FALSE(demo.empty());
    const QStringList demoBells = QDir(QString::fromStdString(demo)).entryList({"*.wav"}, QDir::Files, QDir::Name);
    ASSERT_GE(demoBells.size(), 10);
    d.Run([&] {
        for (int bell = 0; bell < 10; ++bell) {
            d.script.AnswerFileDialog(demo + "/" + demoBells[bell].toStdString());
            d.Click(kReadFile[bell]);
        }
        d.answers.push_back(LetItRun());
        d.Click(kGenerate);
        d.Click(kWriteFile);  // cancelled
    });
    EXPECT_EQ(d.script.messages, Messages{});
    ASSERT_EQ(d.script.fileDialogs.size(), 11u);
    EXPECT_EQ(d.script.fileDialogs[1].initialFolder, demo);
    EXPECT_EQ(d.script.fileDialogs.back().initialFolder, QDir::homePath().toStdString());
}

// A folder that is missing, or a write that fails at the last flush (a
// file-size limit below the output's 160048 bytes, written in blocks of
// 64 KB), shows the message and leaves every file as it was.
TEST(MainDialogGeneration, AFailedWriteSaysSoAndLosesNothing)
{
    MainDialogDriver d;
    const std::string existing = d.folder.filePath("keep.wav").toStdString();
    const QString old = d.folder.filePath("old.wav");
    QFile oldFile(old);
    ASSERT_TRUE(oldFile.open(QIODevice::WriteOnly) && oldFile.write("old") == 3);
    oldFile.close();
    QStringList entries;
    d.Run([&] {
        GenerateOnce(d);
        d.script.AnswerFileDialog(existing);
        d.Click(kWriteFile);
        const std::string before = d.dialog.outputSound.fileName;
        entries = QDir(d.folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        d.script.AnswerFileDialog(d.folder.filePath("no-such-folder/peal.wav").toStdString());
        d.Click(kWriteFile);
        rlimit unlimited{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &unlimited), 0);
        const rlimit limited{150000, unlimited.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
        d.script.AnswerFileDialog(old.toStdString());
        d.Click(kWriteFile);
        setrlimit(RLIMIT_FSIZE, &unlimited);
        EXPECT_EQ(d.dialog.outputSound.fileName, before);
        EXPECT_TRUE(d.Enabled(kWriteFile));
    });
    EXPECT_EQ(d.script.messages, (Messages{"Error writing file!", "Error writing file!"}));
    EXPECT_EQ(d.dialog.outputSound.state, 1);
    EXPECT_EQ(QFileInfo(QString::fromStdString(existing)).size(), 48 + 2 * 80000);
    ASSERT_TRUE(oldFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(oldFile.readAll(), "old");
    EXPECT_EQ(QDir(d.folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), entries);
}

TEST(MainDialogGeneration, PlayFilePlaysTheWholeOutput)
{
    MainDialogDriver d;
    SimulatedWaveOutOptions instantly;
    instantly.speed = 0;
    const auto device = std::make_shared<CSimulatedWaveOut>(instantly);
    d.dialog.makeWaveOut = [device] { return device; };
    d.Run([&] {
        GenerateOnce(d);
        d.answers.push_back(LetItRun());
        d.Click(kPlayFile);
    });
    EXPECT_EQ(d.dialogsAnswered, 2);
    EXPECT_EQ(d.script.messages, Messages{});
    std::uint32_t bytes = 0;
    for (const auto& queued : device->QueuedBlocks())
        bytes += queued.bufferLength;
    EXPECT_EQ(bytes, 2u * 80000u);
    EXPECT_EQ(device->Calls().opens, 1);
    EXPECT_FALSE(device->IsOpen());
}

}  // namespace
