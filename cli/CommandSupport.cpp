#include "cli/CommandSupport.h"

#include "base/MessageQuote.h"
#include "base/ParseInteger.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

namespace {

struct StyleName {
    std::string_view name;
    MethodStyle style;
};
constexpr std::array<StyleName, 5> kStyles{{
    {"home", StyleHome},
    {"treble-bob", StyleTrebleBob},
    {"grandsire", StyleGrandsire},
    {"stedman", StyleStedman},
    {"principle", StylePrinciple},
}};

}  // namespace

int UsageError(const char* command, const std::string& why, const char* usage)
{
    std::fprintf(stderr, "carillix-cli %s: %s\n%s", command, why.c_str(), usage);
    return 2;
}

std::optional<int> ParseCommandLine(Args& args, const char* command, const char* usage, const char* help)
{
    args.AddFlag("--help");
    if (!args.Parse())
        return UsageError(command, args.Error(), usage);
    if (args.Flag("--help")) {
        std::fputs(usage, stdout);
        std::fputs(help, stdout);
        return 0;
    }
    return std::nullopt;
}

std::optional<int> RefuseArguments(const Args& args, const char* command, const char* usage)
{
    if (args.Positional().empty())
        return std::nullopt;
    return UsageError(command, "unexpected argument '" + MessageQuote(args.Positional().front()) + "'", usage);
}

void AddOutputOption(Args& args)
{
    args.AddValueOption("-o");
    args.AddValueOption("--output");
}

std::optional<std::string> OutputPath(const Args& args)
{
    auto output = args.LastValueOf({"-o", "--output"});
    if (!output || output->empty())
        return std::nullopt;
    return output;
}

std::optional<MethodStyle> ParseStyle(std::string_view name)
{
    for (const StyleName& entry : kStyles)
        if (entry.name == name)
            return entry.style;
    return std::nullopt;
}

std::optional<std::int16_t> ParseStage(std::string_view text)
{
    const auto bells = ParseInteger(text, 0, 16);
    if (!bells || std::find(kStyleStages.begin(), kStyleStages.end(), *bells) == kStyleStages.end())
        return std::nullopt;
    return static_cast<std::int16_t>(*bells);
}

std::string QuotedPath(std::string_view path)
{
    return MessageQuote(path, kMessagePathBytes);
}

std::string UnknownStyle(std::string_view text)
{
    return "unknown style '" + MessageQuote(text) + "'";
}

void PrintLoadFailure(const std::string& path, LoadResult result)
{
    std::fprintf(stderr, "%s: %s\n", QuotedPath(path).c_str(), LoadResultText(result).c_str());
}

void PrintWriteFailure(const WriteFault& fault)
{
    std::fprintf(stderr, "Error writing file! (%s: %s)\n", QuotedPath(fault.path).c_str(), std::strerror(fault.error));
}
