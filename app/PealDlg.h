#pragma once

#include "app/MethodChoice.h"
#include "app/toolkit/Dialog.h"
#include "app/toolkit/Toolkit.h"
#include "ringing/MethodStyle.h"
#include "ringing/Row.h"
#include "sound/LoadResult.h"
#include "sound/SoundBuffer.h"
#include "sound/SoundFileFormat.h"

#include <QIcon>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class CWaveOut;
struct RenderPlan;
struct RenderRequest;

// Control ids of the main dialog (layout 102).
namespace PealDlgIds {
inline constexpr int kLayout = 102;
inline constexpr int kExit = 1;
inline constexpr int kBellCountList = 1044;
inline constexpr int kLength = 1046;
inline constexpr int kSampleRate = 1048;
inline constexpr int kDescription = 1050;
inline constexpr int kLegal = 1051;
inline constexpr int kCompany = 1052;
inline constexpr int kWebAddress = 1053;
inline constexpr int kVersion = 1054;
inline constexpr int kStrikingError = 1056;
inline constexpr int kPealSpeedList = 1057;
inline constexpr int kGenerate = 1040;
inline constexpr int kWriteFile = 1041;
inline constexpr int kPlayFile = 1043;
inline constexpr int kClearAll = 1049;
inline constexpr int kStyleFirst = 1069;  // "Carillix" (StyleHome) .. 1073 "Principle"
inline constexpr int kStyleLast = 1073;
inline constexpr int kMethod = 1074;      // "Method..."
inline constexpr int kMethodLine = 1075;  // what the chosen method rings; empty for a style
// "Read File" button and file-name box of bell 1 .. bell 16.
inline constexpr std::array<int, kMaxBells> kReadFile{1013, 1014, 1015, 1016, 1017, 1018, 1019, 1020,
                                                      1021, 1022, 1023, 1024, 1061, 1062, 1063, 1064};
inline constexpr std::array<int, kMaxBells> kBellName{1025, 1026, 1027, 1028, 1029, 1030, 1031, 1032,
                                                      1033, 1034, 1035, 1036, 1065, 1066, 1067, 1068};
}  // namespace PealDlgIds

// Texts of the main dialog's own messages.
inline constexpr const char* kWriteErrorText = "Error writing file!";
inline constexpr const char* kGenerationCancelledText = "Generation cancelled";
inline constexpr const char* kOutputMemoryText = "Not enough memory for an output of this length!";
// File choices: bells may be WAV or MP3, or FLAC or Ogg, and a name that
// does not exist may be typed (the load then reports it); the output is
// written in the type its extension names, else in the type of the filter
// entry chosen (in kOutputFileFormats' order), into a folder that exists,
// with a question before a file is replaced.
inline constexpr const char* kBellFileFilter =
    "Waveform files (.wav, .mp3)|*.wav;*.mp3|FLAC and Ogg files (.flac, .ogg)|*.flac;*.ogg|";
inline constexpr unsigned kBellFileFlags = OFN_EXPLORER;
inline constexpr const char* kOutputFileFilter =
    "Waveform files (.wav)|*.wav|FLAC files (.flac)|*.flac|Ogg Vorbis files (.ogg)|*.ogg|"
    "Opus files (.opus)|*.opus|MP3 files (.mp3)|*.mp3|";
inline constexpr std::array<SoundFileFormat, 5> kOutputFileFormats{SoundFileFormat::Wav, SoundFileFormat::Flac,
                                                                   SoundFileFormat::OggVorbis, SoundFileFormat::Opus,
                                                                   SoundFileFormat::Mp3};
inline constexpr unsigned kOutputFileFlags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
// The longest whole touch the window renders, in memory; longer ones go to
// the command line, which writes them as it renders.
inline constexpr std::int64_t kLongestWindowTouchSeconds = 60 * 60;

// The application's main window: every setting, the sixteen bell slots, the
// version texts and the buttons that start each action. It owns the output
// sound and the settings; the bells are the global `bells` (PealApp.h).
//
// Thread: user-interface thread only. While a generation or a playback runs
// the dialog is blocked under that modal dialog, so the worker and the audio
// thread see outputSound and the bells undisturbed.
class CPealDlg : public CDialog {
public:
    explicit CPealDlg(CDialog* parent = nullptr);
    ~CPealDlg() override;

    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnClose() override;

    // Enables "Play File" and "Write File" exactly while outputSound holds an
    // output (state not 0). No other control is ever enabled or disabled.
    void UpdateFileButtons();

    // Handlers: bell index 0..15 for OnReadFile.
    void OnReadFile(int bell);
    void OnExit();
    void OnWriteFile();
    void OnGenerateOutput();
    void OnPlayFile();
    void OnStyleChosen(MethodStyle chosen);
    void OnClearAllFiles();
    // "Method...": the Method dialog over this run's last choice; OK rings
    // its method instead of the style (the style buttons cleared, "No. of
    // bells" set to hold the method), Clear goes back to the style.
    void OnMethod();

    // The application icon in the sizes a window and the desktop use.
    static QIcon ApplicationIcon();
    // The demo bells installed beside this program when it runs installed,
    // else the build tree's; empty when neither exists. The first bell file
    // choice of a run opens here.
    static std::string DemoBellFolder();
    // The same for a program in `programFolder`.
    static std::string DemoBellFolderFor(const std::string& programFolder);

    std::int32_t bellCountIndex = 3;     // " 5" " 6" " 8" "10" "12" "14" "16"; -1 for none
    std::int32_t lengthSeconds = 10;     // requested output length; 10..700 accepted
    std::uint32_t commonSampleRate = 0;  // shared by every accepted bell; 0 while none is
    std::string descriptionText;
    std::string companyText;
    std::string legalText;
    std::string versionText;
    std::int16_t strikingError = 5;   // percent, 0..100
    std::int32_t pealSpeedIndex = 1;  // "2h 45" .. "4h 00"; -1 for none
    QIcon appIcon;
    std::int16_t stage = 0;         // bells ringing in the last generation attempt
    MethodStyle style = StyleHome;  // from the radio buttons, and the Principle rule
    CSoundBuffer outputSound;       // the generated output; state 1 while it exists
    std::int32_t totalSamples = 0;  // output length in samples, last generation
    std::int32_t fadeSamples = 0;   // fade-out length in samples, last generation
    // The method "Generate Output" rings instead of `style`; none while a
    // style is chosen.
    std::optional<MethodChoice> method;
    MethodForm methodForm;  // the Method dialog's last accepted form, this run

    // Gives the sound output "Play File" plays through: a new default-device
    // output unless replaced (tests).
    std::function<std::shared_ptr<CWaveOut>()> makeWaveOut;

private:
    // The file choice and the load; LoadNoFileSelected when cancelled. The
    // choice opens in the folder of the last bell chosen, at first in the
    // demo bells' folder.
    LoadResult LoadBell(CSoundBuffer& bell);
    // The file choice and the atomic write; true also when cancelled. The
    // choice opens in the folder last written to, else in the last bell's
    // folder unless that holds the demo bells (which a user may not be
    // allowed to write), else in the home folder.
    bool SaveOutput();
    std::string OutputFolder() const;
    // The methods the Method dialog lists: built on first use, with the
    // method library at its default place when there is one.
    MethodCatalogue& Catalogue();
    void ShowMethod(std::optional<MethodChoice> chosen);
    // Why "Generate Output" may not ring the chosen method as `request` and
    // `plan` say: an odd bell beyond the bells ringing, or a whole touch
    // longer than the window keeps (the message then gives the command that
    // renders it); empty when it may go ahead.
    std::string CheckMethodRender(const RenderRequest& request, const RenderPlan& plan);

    // Where the file choices of this run have been; nothing is kept
    // between runs.
    std::string lastBellFolder;     // empty until a bell file has been chosen
    std::string lastWrittenFolder;  // empty until an output has been written
    std::unique_ptr<MethodCatalogue> catalogue;
    std::string libraryFile;  // the library "Library..." read last, this run
};
