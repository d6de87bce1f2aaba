#include "sound/DescriptorOutput.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

constexpr std::size_t kBlockBytes = 65536;

}  // namespace

bool WriteAll(int descriptor, const void* bytes, std::size_t count)
{
    const auto* from = static_cast<const unsigned char*>(bytes);
    while (count > 0) {
        const ssize_t written = write(descriptor, from, count);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        from += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

DescriptorOutput::DescriptorOutput(int descriptor) : descriptor(descriptor)
{
    buffer.reserve(kBlockBytes);
}

bool DescriptorOutput::Write(const void* bytes, std::size_t count)
{
    const auto* from = static_cast<const unsigned char*>(bytes);
    if (!failed && buffer.empty() && count >= kBlockBytes) {
        failed = !WriteAll(descriptor, from, count);
        return !failed;
    }
    while (!failed && count > 0) {
        if (buffer.size() == kBlockBytes && !Flush())
            break;
        const std::size_t n = std::min(count, kBlockBytes - buffer.size());
        buffer.insert(buffer.end(), from, from + n);
        from += n;
        count -= n;
    }
    return !failed;
}

bool DescriptorOutput::Flush()
{
    if (!failed && !buffer.empty())
        failed = !WriteAll(descriptor, buffer.data(), buffer.size());
    buffer.clear();
    return !failed;
}
