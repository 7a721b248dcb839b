// The command line of varnel: a command, its files and the options. Options
// may stand anywhere; "--" makes every later argument a file.
#pragma once

#include "framework/CString.h"

#include <vector>

enum class Command { None, Import, Check, Format, Diff };

// Exit statuses, as version-control tools and compilers use them.
enum ExitStatus : int {
    ExitSuccess = 0,
    ExitFindings = 1,  // differences, problems found, a table refused, a save failed
    ExitUsage = 2,     // a usage error, or a file that cannot be read
};

struct CommandLine {
    Command command = Command::None;
    std::vector<CString> files;
    CString mappingPath = u"commands.mapping";  // import's -m FILE
    bool checkOnly = false;                     // format's --check
    bool listRules = false;                     // check's --rules
    bool quiet = false;
    bool help = false;
    bool version = false;
    int codePage = 0;  // 0: the platform's default
};

// Parses the arguments (without the program name). False with a message in
// error on a usage error; --help and --version need no command.
bool ParseCommandLine(const std::vector<CString>& args, CommandLine& line, CString& error);

// The text of --help.
CString UsageText();
