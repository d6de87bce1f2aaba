#include "sound/BellImport.h"

#include "sound/Mp3Header.h"
#include "sound/WavFile.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsWavExtension(std::string extension)
{
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == "wav";
}

}  // namespace

LoadResult LoadBellFile(CSoundBuffer& bell, const std::string& path)
{
    bell.fileName = path;
    bell.state = 0;
    BinaryFile file;
    if (!file.Open(path, BinaryFile::ModeRead))
        return LoadOpenFailed;
    const LoadResult header = IsWavExtension(bell.Extension()) ? ReadWavHeader(bell, file) : ReadMp3Header(bell, file);
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
