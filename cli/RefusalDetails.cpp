#include "cli/RefusalDetails.h"

#include "base/MessageQuote.h"
#include "cli/CommandSupport.h"
#include "sound/BellImport.h"

#include <string_view>

namespace {

constexpr std::size_t kTitleQuoteBytes = 60;

std::string BellsDetails(const RenderPlan& plan, const RenderRequest& request, const BellsGiven& given)
{
    const std::string ring = std::to_string(plan.stage) + " bells";
    const std::string files = std::to_string(given.files) + (given.files == 1 ? " bell file is" : " bell files are");
    if (!request.touch)
        return ring + " ring and " + files + " given; --bells chooses how many ring";
    const Method& method = request.touch->method;
    const std::string title = MessageQuote(method.title, kTitleQuoteBytes);
    if (method.stage % 2 == 1 && plan.stage == method.stage + 1 && !given.bellsOption)
        return title + " rings on " + ring + ", its " + std::to_string(method.stage) +
               " and a cover bell, as odd stages ring, and " + files + " given; --bells " +
               std::to_string(method.stage) + " rings it without the cover";
    return title + " rings on " + ring + " and " + files + " given; --bells chooses how many ring, from " +
           std::to_string(method.stage) + " to 16";
}

}  // namespace

std::string RefusalWithDetails(const RenderPlan& plan, const RenderRequest& request, const BellsGiven& given)
{
    const std::string_view refusal = plan.refusal;
    if (refusal == kLengthRefusal)
        return plan.refusal + " (--length " + std::to_string(request.lengthSeconds) +
               ": give 10 to 700 seconds, or --length touch)";
    if (refusal == kBellsRefusal)
        return plan.refusal + " (" + BellsDetails(plan, request, given) + ")";
    return plan.refusal;
}

std::string SampleRateRefusal(const std::string& path, std::uint32_t rate, std::uint32_t common)
{
    return std::string(kSampleRateMismatchText) + " (" + QuotedPath(path) + " is at " + std::to_string(rate) +
           " Hz, the bells before it at " + std::to_string(common) + " Hz)";
}
