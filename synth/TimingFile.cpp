#include "synth/TimingFile.h"

#include "sound/BinaryFile.h"

#include <charconv>

namespace {

constexpr std::size_t kBytesPerWrite = 65536;

void Append(std::string& text, std::int64_t value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text.append(digits, end);
}

}  // namespace

bool WriteTimingFile(const BlowLog& log, std::uint32_t renderRate, std::uint32_t fileRate, const std::string& path)
{
    const auto atFileRate = [&](std::int64_t sample) {
        if (fileRate == renderRate || renderRate == 0)
            return sample;
        return (sample * fileRate + renderRate / 2) / renderRate;
    };
    BinaryFile file;
    if (!file.Open(path, BinaryFile::ModeWrite | BinaryFile::ModeCreate))
        return false;
    std::string text = std::string(kTimingFileHeader) + "\n";
    bool written = true;
    for (const Blow& blow : log) {
        Append(text, blow.row);
        text += ',';
        Append(text, blow.place + 1);
        text += ',';
        Append(text, blow.bell + 1);
        text += IsHandstroke(blow.row) ? ",hand," : ",back,";
        Append(text, atFileRate(blow.ideal));
        text += ',';
        Append(text, atFileRate(blow.strike));
        text += '\n';
        if (text.size() >= kBytesPerWrite) {
            written = written && file.Write(text.data(), text.size());
            text.clear();
        }
    }
    written = written && file.Write(text.data(), text.size());
    return file.Close() && written;
}
