// varnel: the mapping file's core as a command-line tool for scripted imports,
// checks, formatting and reviews. The arguments arrive as UTF-16 on Windows
// (wmain) and as UTF-8 elsewhere.
#include "cli/Commands.h"
#include "cli/Console.h"
#include "store/platform/CodePage.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#endif

#ifndef VARNEL_VERSION
#error "VARNEL_VERSION must name the project's version"
#endif

namespace {

int Run(const std::vector<CString>& args) {
    CommandLine line;
    CString error;
    if (!ParseCommandLine(args, line, error)) {
        Console::Write(Console::Stream::Err,
                       (u"varnel: " + error + u"\nTry \"varnel --help\" for more information.\n").View());
        return ExitUsage;
    }
    if (line.help) {
        Console::Write(Console::Stream::Out, UsageText().View());
        return ExitSuccess;
    }
    if (line.version) {
        Console::Write(Console::Stream::Out, u"varnel " VARNEL_VERSION u"\n");
        return ExitSuccess;
    }
    // Every file is read and written in this code page from here on.
    if (line.codePage != 0 && !CodePage::Select(unsigned(line.codePage))) {
        CString text;
        text.Format(u"varnel: code page %d is not available here\n", line.codePage);
        Console::Write(Console::Stream::Err, text.View());
        return ExitUsage;
    }
    Session session(line);
    switch (line.command) {
    case Command::Import: return RunImport(session);
    case Command::Check: return RunCheck(session);
    case Command::Format: return RunFormat(session);
    case Command::Diff: return RunDiff(session);
    case Command::None: break;
    }
    return ExitUsage;
}

int RunAndFlush(const std::vector<CString>& args) {
    const int status = Run(args);
    Console::Flush();
    return status;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    // Pipes and files get the bytes as written: LF stays LF.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::vector<CString> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    return RunAndFlush(args);
}
#else
int main(int argc, char** argv) {
    std::vector<CString> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(CString::FromUtf8(argv[i]));
    return RunAndFlush(args);
}
#endif
