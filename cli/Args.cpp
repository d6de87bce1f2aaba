#include "cli/Args.h"

#include "base/MessageQuote.h"

#include <algorithm>

Args::Args(int argc, char** argv, int first)
{
    for (int i = first; i < argc; ++i)
        words.emplace_back(argv[i]);
}

void Args::AddValueOption(std::string name)
{
    valueOptions.push_back(std::move(name));
}
void Args::AddFlag(std::string name)
{
    flags.push_back(std::move(name));
}

bool Args::Parse()
{
    const auto contains = [](const std::vector<std::string>& list, const std::string& name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.size() < 2 || word[0] != '-' || word == "-") {
            positional.push_back(word);
            continue;
        }
        std::string name = word;
        std::optional<std::string> inlineValue;
        if (const auto eq = word.find('='); eq != std::string::npos) {
            name = word.substr(0, eq);
            inlineValue = word.substr(eq + 1);
        }
        if (contains(flags, name) && !inlineValue) {
            setFlags.push_back(name);
        } else if (contains(valueOptions, name)) {
            if (inlineValue) {
                values.emplace_back(name, *inlineValue);
            } else if (i + 1 < words.size()) {
                values.emplace_back(name, words[++i]);
            } else {
                error = "option " + name + " needs a value";
                return false;
            }
        } else {
            error = "unknown option " + MessageQuote(word);
            return false;
        }
    }
    return true;
}

std::optional<std::string> Args::Value(std::string_view name) const
{
    std::optional<std::string> last;
    for (const auto& [option, value] : values)
        if (option == name)
            last = value;
    return last;
}

std::optional<std::string> Args::LastValueOf(std::initializer_list<std::string_view> names) const
{
    std::optional<std::string> last;
    for (const auto& [option, value] : values)
        if (std::find(names.begin(), names.end(), option) != names.end())
            last = value;
    return last;
}

std::vector<std::string> Args::Values(std::string_view name) const
{
    std::vector<std::string> given;
    for (const auto& [option, value] : values)
        if (option == name)
            given.push_back(value);
    return given;
}

bool Args::Flag(std::string_view name) const
{
    return std::find(setFlags.begin(), setFlags.end(), name) != setFlags.end();
}
