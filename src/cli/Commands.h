// The four commands. Each returns its exit status (CommandLine.h).
#pragma once

#include "cli/Session.h"

int RunImport(Session& session);
int RunCheck(Session& session);
int RunFormat(Session& session);
int RunDiff(Session& session);
