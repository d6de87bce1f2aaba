#include "app/PealDlg.h"

#include "app/ExitDlg.h"
#include "app/MethodDlg.h"
#include "app/PealApp.h"
#include "app/toolkit/Toolkit.h"
#include "base/NumberText.h"
#include "playback/PlayRequest.h"
#include "playback/PortAudioWaveOut.h"
#include "playback/dialogs/PlayDlg.h"
#include "sound/BellImport.h"
#include "sound/SoundFileWriter.h"
#include "synth/PealRender.h"
#include "synth/dialogs/GenerateDlg.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

using namespace PealDlgIds;

CPealDlg::CPealDlg(CDialog* parent)
    : CDialog(kLayout, parent),
      appIcon(ApplicationIcon()),
      makeWaveOut([] { return std::make_shared<CPortAudioWaveOut>(); })
{
    MapCommand(kExit, &CPealDlg::OnExit);
    MapCommand(kGenerate, &CPealDlg::OnGenerateOutput);
    MapCommand(kPlayFile, &CPealDlg::OnPlayFile);
    MapCommand(kWriteFile, &CPealDlg::OnWriteFile);
    MapCommand(kClearAll, &CPealDlg::OnClearAllFiles);
    MapCommand(kMethod, &CPealDlg::OnMethod);
    for (int bell = 0; bell < kMaxBells; ++bell)
        MapCommand(kReadFile[bell], [this, bell] { OnReadFile(bell); });
    constexpr std::array kStyles{StyleHome, StyleTrebleBob, StyleGrandsire, StyleStedman, StylePrinciple};
    for (int id = kStyleFirst; id <= kStyleLast; ++id)
        MapCommand(id, [this, chosen = kStyles[id - kStyleFirst]] { OnStyleChosen(chosen); });
}

CPealDlg::~CPealDlg() = default;

QIcon CPealDlg::ApplicationIcon()
{
    QIcon icon;
    for (const char* size : {"16", "32", "48"})
        icon.addFile(QStringLiteral(":/icons/carillix-%1.png").arg(QLatin1String(size)));
    return icon;
}

std::string CPealDlg::DemoBellFolder()
{
    return DemoBellFolderFor(QCoreApplication::applicationDirPath().toStdString());
}

std::string CPealDlg::DemoBellFolderFor(const std::string& programFolder)
{
    const QDir installed(QString::fromStdString(programFolder) + QStringLiteral("/" CARILLIX_BELLS_FROM_BINDIR));
    const QDir buildTree(QStringLiteral(CARILLIX_BUILD_TREE_BELLS));
    for (const QDir& folder : {installed, buildTree}) {
        if (folder.exists())
            return folder.canonicalPath().toStdString();
    }
    return {};
}

bool CPealDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    Window()->setWindowIcon(appIcon);
    CheckRadioButton(kStyleFirst, kStyleLast, kStyleFirst);
    style = StyleHome;
    descriptionText = theApp.fileDescription;
    companyText = theApp.companyName;
    versionText = theApp.productVersion;
    legalText = theApp.legalNotice;
    UpdateData(false);
    UpdateFileButtons();
    return true;
}

void CPealDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_CBIndex(dx, kBellCountList, bellCountIndex);
    DDX_Text(dx, kLength, lengthSeconds);
    DDX_Text(dx, kSampleRate, commonSampleRate);
    DDX_Text(dx, kDescription, descriptionText);
    DDX_Text(dx, kCompany, companyText);
    DDX_Text(dx, kLegal, legalText);
    DDX_Text(dx, kVersion, versionText);
    DDX_Text(dx, kStrikingError, strikingError);
    DDV_MinMaxInt(dx, strikingError, 0, 100);
    DDX_CBIndex(dx, kPealSpeedList, pealSpeedIndex);
    // Shown only: what is read back is dropped.
    for (int bell = 0; bell < kMaxBells; ++bell) {
        std::string name = bells[bell].DisplayName();
        DDX_Text(dx, kBellName[bell], name);
    }
}

void CPealDlg::UpdateFileButtons()
{
    EnableControl(kPlayFile, outputSound.state != 0);
    EnableControl(kWriteFile, outputSound.state != 0);
}

namespace {

std::string FolderOf(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).absolutePath().toStdString();
}

bool IsSameFolder(const std::string& a, const std::string& b)
{
    const QString canonicalA = QDir(QString::fromStdString(a)).canonicalPath();
    return !canonicalA.isEmpty() && canonicalA == QDir(QString::fromStdString(b)).canonicalPath();
}

}  // namespace

LoadResult CPealDlg::LoadBell(CSoundBuffer& bell)
{
    CFileDialog choice(true, "", "", kBellFileFlags, kBellFileFilter, Window());
    choice.SetInitialFolder(lastBellFolder.empty() ? DemoBellFolder() : lastBellFolder);
    if (choice.DoModal() != IDOK)
        return LoadNoFileSelected;
    lastBellFolder = FolderOf(choice.GetPathName());
    CWaitCursor wait;
    return LoadBellFile(bell, choice.GetPathName());
}

void CPealDlg::OnReadFile(int bell)
{
    CSoundBuffer& sound = bells[bell];
    const LoadResult result = LoadBell(sound);
    if (result != LoadOK) {
        MessageBox(LoadResultText(result));
        return;
    }
    if (!ApplySampleRateRule(sound, commonSampleRate))
        MessageBox(kSampleRateMismatchText);
    UpdateData(false);
}

void CPealDlg::OnExit()
{
    CExitDlg confirmation;
    if (confirmation.DoModal() == IDOK)
        OnOK();
}

void CPealDlg::OnClose()
{
    CExitDlg confirmation;
    if (confirmation.DoModal() == IDOK)
        CDialog::OnClose();
}

std::string CPealDlg::OutputFolder() const
{
    if (!lastWrittenFolder.empty())
        return lastWrittenFolder;
    if (!lastBellFolder.empty() && !IsSameFolder(lastBellFolder, DemoBellFolder()))
        return lastBellFolder;
    return QDir::homePath().toStdString();
}

bool CPealDlg::SaveOutput()
{
    CFileDialog choice(false, "wav", "", kOutputFileFlags, kOutputFileFilter, Window());
    choice.SetInitialFolder(OutputFolder());
    if (choice.DoModal() != IDOK)
        return true;
    const auto entry = static_cast<std::size_t>(std::clamp<int>(choice.GetFilterIndex(), 1, kOutputFileFormats.size()));
    const SoundFileFormat format = SoundFileFormatFor(choice.GetPathName()).value_or(kOutputFileFormats[entry - 1]);
    if (!SaveSoundFile(outputSound, format, choice.GetPathName()))
        return false;
    lastWrittenFolder = FolderOf(choice.GetPathName());
    return true;
}

void CPealDlg::OnWriteFile()
{
    if (SaveOutput())
        UpdateData(false);
    else
        MessageBox(kWriteErrorText);
}

void CPealDlg::OnGenerateOutput()
{
    // A failed read-back has shown its message; the members may hold a
    // striking error the renderer does not accept, so nothing is generated.
    if (!UpdateData(true))
        return;

    RenderRequest request;
    request.style = style;
    request.bells = BellsForListIndex(bellCountIndex);
    request.pealSeconds = PealSecondsForListIndex(pealSpeedIndex);
    request.lengthSeconds = lengthSeconds;
    request.strikingError = strikingError;
    request.random = &theApp.strikeRandom;
    if (method) {
        const int methodStage = method->touch.method.stage;
        if (request.bells < methodStage) {
            MessageBox(method->touch.method.title + " needs " + std::to_string(methodStage) + " bells: choose " +
                       std::to_string(std::max<int>(methodStage, BellsForListIndex(0))) +
                       " or more under \"No. of bells\".");
            return;
        }
        request.touch = method->touch;
        request.striking = method->striking;
        request.wholeTouch = method->wholeTouch;
    }
    const RenderPlan plan = PlanRender(request, bells.data(), commonSampleRate);
    if (plan.stageChosen) {
        stage = plan.stage;
        if (!request.touch)
            style = plan.style;
    }
    if (!plan.ok) {
        MessageBox(plan.refusal);
        return;
    }
    if (method) {
        if (const std::string refusal = CheckMethodRender(request, plan); !refusal.empty()) {
            MessageBox(refusal);
            return;
        }
    }
    totalSamples = plan.totalSamples;
    fadeSamples = plan.fadeSamples;
    PealRender render(request, plan, bells.data());
    if (!render.RenderInto(outputSound)) {
        MessageBox(kOutputMemoryText);
        return;
    }

    CGenerateDlg generation(render);
    if (generation.DoModal() == IDOK) {
        outputSound.state = 1;
    } else {
        MessageBox(kGenerationCancelledText);
        outputSound.state = 0;
    }
    UpdateFileButtons();
}

void CPealDlg::OnPlayFile()
{
    PlayRequest request;
    request.useRange = 0;
    request.rangeStart = 0;
    request.rangeEnd = outputSound.sampleCount;
    request.fullLength = outputSound.sampleCount;
    const std::shared_ptr<CWaveOut> waveOut = makeWaveOut();
    CPlayDlg player(&outputSound, &request, *waveOut);
    player.DoModal();
}

void CPealDlg::OnStyleChosen(MethodStyle chosen)
{
    style = chosen;
    ShowMethod(std::nullopt);
}

MethodCatalogue& CPealDlg::Catalogue()
{
    if (catalogue)
        return *catalogue;
    catalogue = std::make_unique<MethodCatalogue>();
    const std::string path = DefaultMethodLibraryPath();
    if (path.empty() || !QFileInfo(QString::fromStdString(path)).isFile())
        return *catalogue;
    MethodLibrary library;
    {
        CWaitCursor wait;
        library = ReadMethodLibraryFile(path);
    }
    if (library.fault.empty())
        catalogue->AddLibrary(std::move(library.methods));
    else
        MessageBox(library.fault);
    return *catalogue;
}

void CPealDlg::ShowMethod(std::optional<MethodChoice> chosen)
{
    method = std::move(chosen);
    SetElidedText(kMethodLine, method ? method->summary : std::string());
}

void CPealDlg::OnMethod()
{
    CMethodDlg dialog(methodForm, Catalogue());
    const int result = dialog.DoModal();
    if (!dialog.LibraryFile().empty())
        libraryFile = dialog.LibraryFile();
    if (result == kMethodCleared) {
        ShowMethod(std::nullopt);
        CheckRadioButton(kStyleFirst, kStyleLast, kStyleFirst + static_cast<int>(style));
        return;
    }
    if (result != IDOK || !dialog.Choice())
        return;
    methodForm = dialog.Choice()->form;
    const std::int16_t methodBells = WindowBellsForStage(dialog.Choice()->touch.method.stage);
    ShowMethod(dialog.Choice());
    CheckRadioButton(kStyleFirst, kStyleLast, 0);
    for (std::int32_t index = 0; BellsForListIndex(index) <= methodBells; ++index) {
        if (BellsForListIndex(index) == methodBells) {
            bellCountIndex = index;
            Control<QComboBox>(kBellCountList)->setCurrentIndex(index);
            break;
        }
    }
}

std::string CPealDlg::CheckMethodRender(const RenderRequest& request, const RenderPlan& plan)
{
    if (const auto why = CheckOddBells(request.striking, plan.stage))
        return *why;
    if (!request.wholeTouch || plan.totalSamples <= kLongestWindowTouchSeconds * plan.rate)
        return {};
    RenderCommandSettings settings;
    settings.bells = plan.stage;
    const auto pealMinutes = static_cast<int>(request.pealSeconds / 60);
    settings.pealSpeed =
        std::to_string(pealMinutes / 60) + "h" + (pealMinutes % 60 < 10 ? "0" : "") + std::to_string(pealMinutes % 60);
    settings.strikingError = request.strikingError;
    for (int bell = 0; bell < plan.stage; ++bell)
        settings.bellFiles.push_back(bells[bell].fileName);
    settings.libraryFile = libraryFile;
    return method->touch.method.title + ": the whole touch rings " + GroupedThousands(plan.touchChanges) +
           " changes, " + ClockTime(plan.totalSamples / plan.rate) +
           " of sound; the window keeps up to 60 minutes. The command line rings touches and peals of any "
           "length, writing them as it goes:\n\n" +
           RenderCommandFor(*method, settings, Catalogue());
}

void CPealDlg::OnClearAllFiles()
{
    commonSampleRate = 0;
    for (CSoundBuffer& bell : bells) {
        bell.state = 0;
        bell.fileName = "";
    }
    UpdateData(false);
    UpdateFileButtons();
}
