// What the command-line programs share: reading options, whole numbers, the
// folder they work in, and how they report failure.
#pragma once

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pb::cli {

constexpr int kUsage = 2;  // every tool's exit code for a wrong command line

// A wrong command line: the message, then the usage text.
struct UsageError {
    std::string message;
};

// A whole decimal number within [low, high], or nothing.
std::optional<int> Number(const std::string& text, int low, int high);

// One item of a command line: an option with its value ("--name value" or
// "--name=value"), a flag ("--name"), or a plain argument (a file; name empty).
struct Argument {
    std::string name;
    std::string value;
};

// The command line item by item. `withValue` names the options that take a
// value, `flags` those that take none; anything else starting with "--" is a
// usage error, as is a plain argument when `plain` is false.
std::vector<Argument> ReadArguments(const std::vector<std::string>& args,
                                    std::initializer_list<std::string_view> withValue,
                                    std::initializer_list<std::string_view> flags, bool plain);

// The error for an option whose value is not what it takes.
UsageError InvalidValue(const Argument& argument);

// The folder the program itself would work in, given --folder's value (empty
// when none); a usage error when there is none such.
std::string WorkingFolder(const std::string& given);

// A tool's messages on standard error, each headed by its name.
class Tool {
  public:
    Tool(std::string name, std::string usage) : name_(std::move(name)), usage_(std::move(usage)) {}

    void Say(const std::string& message) const;
    // Says the message and gives back the exit code.
    int Fail(int code, const std::string& message) const;
    // Writes `out` to standard output; `done`, or `failed` when it cannot.
    int Print(const std::string& out, int done, int failed) const;

    // Runs `run` on the command line: --help prints the usage, a usage error
    // says what is wrong and the usage.
    int Main(int argc, char** argv,
             const std::function<int(const std::vector<std::string>&)>& run) const;

  private:
    std::string name_;
    std::string usage_;
};

}  // namespace pb::cli
