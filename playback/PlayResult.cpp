#include "playback/PlayResult.h"

std::string PlayResultText(std::int16_t code)
{
    switch (code) {
    case PlayOK: return "Sound playing";
    case PlayLengthZero: return "Play length zero!";
    case PlayFormatNotSupported: return "Sound format not supported!";
    case PlayOpenFailed: return "Failed to open sound device!";
    case PlayDriverFailure: return "Sound driver failure!";
    default: return "Sound error!";
    }
}
