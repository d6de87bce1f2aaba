#include "sound/TemporaryFiles.h"

#include <array>
#include <atomic>
#include <climits>
#include <cstring>
#include <pthread.h>
#include <unistd.h>

namespace {

constexpr int kRecords = 16;
constexpr std::array<int, 4> kSignals{SIGINT, SIGTERM, SIGHUP, SIGPIPE};

enum RecordState : int { Free, Filling, Live };

struct Record {
    std::atomic<int> state{Free};
    char path[PATH_MAX];
};
static_assert(std::atomic<int>::is_always_lock_free, "the handler may only touch lock-free atomics");

Record records[kRecords];

void RemoveAndEnd(int signal)
{
    for (Record& record : records)
        if (record.state.load(std::memory_order_acquire) == Live)
            unlink(record.path);
    // The handler was installed with SA_RESETHAND, so the default action is
    // back; the signal stays blocked until the handler returns, then ends
    // the process.
    raise(signal);
}

sigset_t HeldSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kSignals)
        sigaddset(&set, signal);
    return set;
}

}  // namespace

int TrackTemporaryFile(const char* path)
{
    const std::size_t length = std::strlen(path);
    if (length >= PATH_MAX)
        return -1;
    for (int index = 0; index < kRecords; ++index) {
        int expected = Free;
        if (records[index].state.compare_exchange_strong(expected, Filling, std::memory_order_acquire)) {
            std::memcpy(records[index].path, path, length + 1);
            records[index].state.store(Live, std::memory_order_release);
            return index;
        }
    }
    return -1;
}

void ForgetTemporaryFile(int record)
{
    if (record >= 0 && record < kRecords)
        records[record].state.store(Free, std::memory_order_release);
}

void RemoveTemporaryFilesOnSignals()
{
    for (const int signal : kSignals) {
        struct sigaction current {};
        if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN)
            continue;
        struct sigaction action {};
        action.sa_handler = RemoveAndEnd;
        action.sa_mask = HeldSignals();
        action.sa_flags = SA_RESETHAND;
        sigaction(signal, &action, nullptr);
    }
}

SignalsHeld::SignalsHeld()
{
    const sigset_t held = HeldSignals();
    pthread_sigmask(SIG_BLOCK, &held, &previous);
}

SignalsHeld::~SignalsHeld()
{
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}
