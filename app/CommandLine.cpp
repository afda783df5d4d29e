#include "app/CommandLine.h"

#include "common/AsciiUpper.h"

namespace {

bool IsSeparator(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

// Reads the argument that starts at or after position, leaving position just past it.
std::string NextArgument(const std::string& line, std::size_t& position)
{
    while (position < line.size() && IsSeparator(line[position]))
        ++position;
    std::string argument;
    bool quoted = false;
    for (; position < line.size() && (quoted || !IsSeparator(line[position])); ++position) {
        if (line[position] == '"')
            quoted = !quoted;
        else
            argument += line[position];
    }
    return argument;
}

} // namespace

std::vector<std::string> SplitCommandLine(const std::string& commandLine)
{
    std::vector<std::string> arguments;
    std::size_t position = 0;
    for (std::string argument = NextArgument(commandLine, position); !argument.empty();
         argument = NextArgument(commandLine, position))
        arguments.push_back(argument);
    return arguments;
}

std::string RunModeFor(const std::vector<std::string>& arguments)
{
    for (std::size_t i = 1; i < arguments.size(); ++i)
        if (AsciiUpperCase(arguments[i]) == "-UR")
            return AutoRunMode;
    return "";
}
