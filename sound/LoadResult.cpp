#include "sound/LoadResult.h"

std::string LoadResultText(std::int16_t code)
{
    switch (code) {
    case LoadOK: return "File read OK";
    case LoadOpenFailed: return "Failed to open file!";
    case LoadBadWav: return "Not a valid .wav file!";
    case LoadNoData: return "No data in file!";
    case LoadNoRiff: return "Not a valid .wav file!";
    case LoadBadFormatChunk: return "Not a valid .wav file!";
    case LoadFormatNotSupported: return "Format not supported!";
    case LoadConversionError: return "Error during conversion!";
    case LoadConversionImpossible: return "Conversion not possible!";
    case LoadBadMp3: return "Not a valid mp3 file!";
    case LoadNoFileSelected: return "No file selected!";
    default: return "Bad file!";
    }
}
