#include "cli/CommandLine.h"

namespace {

bool ParseCommand(const CString& word, Command& command) {
    static const struct {
        const char16_t* name;
        Command command;
    } commands[] = {
        {u"import", Command::Import}, {u"check", Command::Check}, {u"format", Command::Format}, {u"diff", Command::Diff}};
    for (const auto& entry : commands)
        if (word == entry.name) {
            command = entry.command;
            return true;
        }
    return false;
}

// A code page number: decimal digits, 1 to 65535.
bool ParseCodePage(const CString& text, int& codePage) {
    if (text.IsEmpty() || text.GetLength() > 5)
        return false;
    int value = 0;
    for (char16_t ch : text.View()) {
        if (ch < u'0' || ch > u'9')
            return false;
        value = value * 10 + (ch - u'0');
    }
    if (value < 1 || value > 65535)
        return false;
    codePage = value;
    return true;
}

// Checks that the files fit the command.
bool CheckFileCount(const CommandLine& line, CString& error) {
    switch (line.command) {
    case Command::None:
        error = u"no command given";
        return false;
    case Command::Diff:
        if (line.files.size() != 2) {
            error = u"diff takes two files, OLD and NEW";
            return false;
        }
        return true;
    case Command::Check:
        if (line.listRules && !line.files.empty()) {
            error = u"check --rules takes no file";
            return false;
        }
        if (line.listRules)
            return true;
        [[fallthrough]];
    default:
        if (line.files.empty()) {
            error = line.command == Command::Import ? u"import needs at least one table" : u"no file given";
            return false;
        }
        return true;
    }
}

}  // namespace

bool ParseCommandLine(const std::vector<CString>& args, CommandLine& line, CString& error) {
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const CString& arg = args[i];
        // The value of an option, from "--name=value" or the next argument.
        auto value = [&](const CString& name, CString& text) {
            if (arg.GetLength() > name.GetLength() && arg[name.GetLength()] == u'=') {
                text = arg.Mid(name.GetLength() + 1);
                return true;
            }
            if (i + 1 >= args.size()) {
                error = arg + u" needs a value";
                return false;
            }
            text = args[++i];
            return true;
        };
        if (optionsEnded || arg.GetLength() < 2 || arg[0] != u'-') {
            if (line.command == Command::None && !optionsEnded) {
                if (!ParseCommand(arg, line.command)) {
                    error = u"unknown command \"" + arg + u"\"";
                    return false;
                }
            } else {
                line.files.push_back(arg);
            }
        } else if (arg == u"--") {
            optionsEnded = true;
        } else if (arg == u"--help" || arg == u"-h") {
            line.help = true;
        } else if (arg == u"--version") {
            line.version = true;
        } else if (arg == u"-q" || arg == u"--quiet") {
            line.quiet = true;
        } else if (arg == u"--code-page" || arg.Left(12) == u"--code-page=") {
            CString text;
            if (!value(u"--code-page", text))
                return false;
            if (!ParseCodePage(text, line.codePage)) {
                error = u"--code-page takes a code page number, not \"" + text + u"\"";
                return false;
            }
        } else if (arg == u"-m" && line.command == Command::Import) {
            CString text;
            if (!value(u"-m", text))
                return false;
            line.mappingPath = text;
        } else if (arg == u"--check" && line.command == Command::Format) {
            line.checkOnly = true;
        } else if (arg == u"--rules" && line.command == Command::Check) {
            line.listRules = true;
        } else {
            error = u"unknown option \"" + arg + u"\"";
            if (line.command == Command::None && (arg == u"-m" || arg == u"--check" || arg == u"--rules"))
                error += u" before the command";
            return false;
        }
    }
    if (line.help || line.version)
        return true;
    return CheckFileCount(line, error);
}

CString UsageText() {
    return u"usage: varnel [-q] [--code-page N] COMMAND ARGS...\n"
           u"\n"
           u"Commands:\n"
           u"  import [-m FILE] TABLE...  merge MicroStation v7 (*.TBL) and v8 (*.CSV) tables\n"
           u"                             into FILE (default commands.mapping, created when\n"
           u"                             missing) and save it; one line per section changed\n"
           u"  check FILE...              report lines the reader skips or changes and every\n"
           u"                             value AutoCAD or MicroStation will not take, as\n"
           u"                             FILE:LINE: message [rule]\n"
           u"  check --rules              list those rules\n"
           u"  format [--check] FILE...   rewrite each file in the form Save writes; with\n"
           u"                             --check write nothing, list the files that differ\n"
           u"  diff OLD NEW               pairs added (+), removed (-) and changed (~),\n"
           u"                             section by section\n"
           u"\n"
           u"Options:\n"
           u"  -q, --quiet      print nothing on standard output; the exit status tells\n"
           u"  --code-page N    the files' code page (default: 1252; on Windows the\n"
           u"                   system's ANSI code page)\n"
           u"  -h, --help       show this text\n"
           u"  --version        show the version\n"
           u"\n"
           u"Exit status: 0 success; 1 differences or problems found, or nothing saved;\n"
           u"2 usage error or a file that cannot be read.\n";
}
