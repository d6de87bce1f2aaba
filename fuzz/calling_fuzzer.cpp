// Feeds arbitrary text as a calling by positions. The first three bytes
// choose the method, the parts (1 to 4) and the observation bell; the rest is
// the calling. Traps when a calling that reads breaks the reader's promises,
// or when the touch it builds rings other calls than it resolved.
#include "ringing/BuiltInMethods.h"
#include "ringing/CallingPositions.h"
#include "ringing/TouchBuilder.h"
#include "ringing/TouchLeads.h"
#include "ringing/TouchProof.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

constexpr const char* kTitles[] = {"Plain Bob Major",        "Grandsire Triples", "Cambridge Surprise Minor",
                                   "Bristol Surprise Major", "Plain Bob Doubles", "Stedman Triples"};
constexpr std::int64_t kProofLimit = 20000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    const std::string calling(reinterpret_cast<const char*>(data) + 3, size - 3);
    const CallingPositions read = ReadCallingPositions(calling);
    if (!read.fault.empty() && !read.calls.empty())
        __builtin_trap();
    std::size_t word = 0;
    for (const PositionCall& call : read.calls) {
        if ((call.call != 'b' && call.call != 's') || kPositionLetters.find(call.position) == std::string_view::npos ||
            call.courses < 1 || call.courses > kMostCourses || call.word <= word)
            __builtin_trap();
        word = call.word;
    }

    TouchRequest request;
    request.method = FindBuiltInMethod(kTitles[data[0] % std::size(kTitles)]);
    request.positions = calling;
    request.parts = 1 + data[1] % 4;
    request.observation = data[2] % (request.method->stage + 1);
    const TouchBuild build = BuildTouch(request);
    if (!build.fault.empty())
        return 0;
    const Touch& touch = build.touch;
    if (touch.repeatCalling || touch.calling.find_first_not_of("pbs") != std::string::npos)
        __builtin_trap();
    const TouchProof proof = ProveTouch(touch, kProofLimit);
    if (!proof.comesRound)
        return 0;
    // Every call resolved is begun before rounds (rounds may cut the last
    // short), and named once.
    const auto resolved = std::count_if(touch.calling.begin(), touch.calling.end(), [](char c) { return c != 'p'; });
    const std::string named = RecordLeads(touch, proof.changes).calls;
    const auto names = named.empty() ? 0 : std::count(named.begin(), named.end(), ' ') + 1;
    if (names != resolved)
        __builtin_trap();
    return 0;
}
