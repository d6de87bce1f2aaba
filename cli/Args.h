#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A small command-line reader for one subcommand: long options with a value
// ("--bells 8" or "--bells=8"), flags, and positional arguments.
class Args {
public:
    Args(int argc, char** argv, int first);

    // Declares an option that takes a value, or a flag that takes none.
    // Undeclared options make Parse fail.
    void AddValueOption(std::string name);
    void AddFlag(std::string name);

    // False when an option is unknown or lacks its value; Error() says why.
    bool Parse();
    const std::string& Error() const { return error; }

    // The value given last, or every value in the order given.
    std::optional<std::string> Value(std::string_view name) const;
    std::vector<std::string> Values(std::string_view name) const;
    // The value given last to any of `names`, options that mean the same.
    std::optional<std::string> LastValueOf(std::initializer_list<std::string_view> names) const;
    bool Flag(std::string_view name) const;
    const std::vector<std::string>& Positional() const { return positional; }

private:
    std::vector<std::string> words;
    std::vector<std::string> valueOptions;
    std::vector<std::string> flags;
    std::vector<std::pair<std::string, std::string>> values;
    std::vector<std::string> setFlags;
    std::vector<std::string> positional;
    std::string error;
};
