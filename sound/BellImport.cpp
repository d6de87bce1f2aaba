#include "sound/BellImport.h"

#include "base/AsciiCase.h"
#include "sound/FlacOggHeader.h"
#include "sound/Mp3Header.h"
#include "sound/WavFile.h"

#include <algorithm>

namespace {

std::string Lowercase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), AsciiLower);
    return text;
}

// The reader for a file's extension, in any case: WAV, FLAC and Ogg by name, MP3 for every other.
LoadResult ReadHeader(CSoundBuffer& bell, BinaryFile& file)
{
    const std::string extension = Lowercase(bell.Extension());
    if (extension == "wav")
        return ReadWavHeader(bell, file);
    if (extension == "flac" || extension == "ogg")
        return ReadFlacOggHeader(bell, file);
    return ReadMp3Header(bell, file);
}

}  // namespace

LoadResult LoadBellFile(CSoundBuffer& bell, const std::string& path)
{
    bell.fileName = path;
    bell.state = 0;
    BinaryFile file;
    if (!file.Open(path))
        return LoadOpenFailed;
    const LoadResult header = ReadHeader(bell, file);
    if (header != LoadOK)
        return header;
    const LoadResult converted = ConvertToMono16(bell, file);
    if (converted == LoadOK) {
        bell.onset = bell.FindOnset();
        bell.state = 1;
    }
    return converted;
}

bool ApplySampleRateRule(CSoundBuffer& bell, std::uint32_t& commonSampleRate)
{
    if (commonSampleRate == 0) {
        commonSampleRate = bell.format.sampleRate;
        return true;
    }
    if (commonSampleRate == bell.format.sampleRate)
        return true;
    bell.state = 0;
    bell.fileName.clear();
    return false;
}
