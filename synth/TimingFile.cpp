#include "synth/TimingFile.h"

#include "sound/DescriptorOutput.h"

#include <charconv>
#include <string>

namespace {

void Append(std::string& text, std::int64_t value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text.append(digits, end);
}

}  // namespace

int WriteTimingFile(const BlowLog& log, std::uint32_t renderRate, std::uint32_t fileRate, int descriptor)
{
    const auto atFileRate = [&](std::int64_t sample) {
        if (fileRate == renderRate || renderRate == 0)
            return sample;
        return (sample * fileRate + renderRate / 2) / renderRate;
    };
    DescriptorOutput file(descriptor);
    std::string text = std::string(kTimingFileHeader) + "\n";
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
        file.Write(text.data(), text.size());
        text.clear();
    }
    file.Write(text.data(), text.size());
    file.Flush();
    return file.Error();
}
