#pragma once

namespace quintaraz {

class CommandParser;
class ToolContext;
enum class ExitStatus;

/**
 * A command of quintaraz-map as the tool's table lists it. Each command's own unit defines
 * its entry beside its run function, which adds the command's options to the parser, parses
 * and does the work. Texts are UTF-8 that outlives every parser, made into strings only for
 * --help, which most runs never show.
 */
struct CommandEntry {
    const char* name;
    const char* arguments;   // what the usage line shows after the options: "ARCHIVO..."
    const char* summary;     // its line in quintaraz-map --help
    const char* description; // what its own --help says after the usage line
    int leastArguments;
    int mostArguments; // below 0: any number
    ExitStatus (*run)(ToolContext& tool, CommandParser& line);

    /** Whether it takes files, and so "--" before them. */
    bool takesFiles() const { return mostArguments != 0; }
};

} // namespace quintaraz
