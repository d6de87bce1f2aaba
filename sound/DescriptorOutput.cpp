#include "sound/DescriptorOutput.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kBlockBytes = 65536;

}  // namespace

int WriteAll(int descriptor, const void* bytes, std::size_t count)
{
    const auto* from = static_cast<const unsigned char*>(bytes);
    while (count > 0) {
        const ssize_t written = write(descriptor, from, count);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno != 0 ? errno : EIO;
        if (written == 0)
            return EIO;
        from += written;
        count -= static_cast<std::size_t>(written);
    }
    return 0;
}

int CheckFileLength(int descriptor, std::int64_t bytes)
{
    struct stat status {};
    if (fstat(descriptor, &status) != 0)
        return errno;
    return !S_ISREG(status.st_mode) || status.st_size == bytes ? 0 : EIO;
}

DescriptorOutput::DescriptorOutput(int descriptor) : descriptor(descriptor)
{
    buffer.reserve(kBlockBytes);
}

bool DescriptorOutput::Write(const void* bytes, std::size_t count)
{
    given += static_cast<std::int64_t>(count);
    const auto* from = static_cast<const unsigned char*>(bytes);
    if (error == 0 && buffer.empty() && count >= kBlockBytes) {
        error = WriteAll(descriptor, from, count);
        return error == 0;
    }
    while (error == 0 && count > 0) {
        if (buffer.size() == kBlockBytes && !Flush())
            break;
        const std::size_t n = std::min(count, kBlockBytes - buffer.size());
        buffer.insert(buffer.end(), from, from + n);
        from += n;
        count -= n;
    }
    return error == 0;
}

bool DescriptorOutput::Flush()
{
    if (error == 0 && !buffer.empty())
        error = WriteAll(descriptor, buffer.data(), buffer.size());
    buffer.clear();
    return error == 0;
}
