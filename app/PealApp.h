#pragma once

#include "ringing/Row.h"
#include "sound/SoundBuffer.h"
#include "synth/StrikeRandom.h"

#include <array>
#include <string>

// The application object. InitInstance runs the main dialog modally and
// returns false once it has closed, after which the program ends.
//
// Thread: user-interface thread only.
class CPealApp {
public:
    CPealApp() = default;
    virtual ~CPealApp() = default;
    CPealApp(const CPealApp&) = delete;
    CPealApp& operator=(const CPealApp&) = delete;

    // Reads the version strings, runs the main dialog to its end, and
    // returns false: there is no message loop of the application's own.
    virtual bool InitInstance();
    // Fills the four strings from the program's version record; a build
    // without a record, or a record lacking a value, leaves them empty.
    void ReadVersionStrings();

    std::string fileDescription;
    std::string companyName;
    std::string productVersion;
    std::string legalNotice;
    // The striking error's one generator: never re-seeded, so each
    // generation draws on from where the last one stopped, and every run
    // starts from the same sequence.
    StrikeRandom strikeRandom{kDefaultStrikeSeed};
};

// Names the running toolkit application Carillix for the desktop (its
// desktop entry and icon). No display name is set: window systems would add
// it to every window title, and each title is its dialog's caption alone.
// Call once the QApplication exists.
void SetUpApplicationIdentity();

// Defined together so that they are built in this order and destroyed in the
// reverse one: theApp, then bells[0] .. bells[15]. The bells therefore exist
// before the main dialog is created and stay valid until after it is gone.
// "Bell 1" on screen is bells[0].
extern CPealApp theApp;
extern std::array<CSoundBuffer, kMaxBells> bells;
