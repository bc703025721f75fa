#pragma once

#include "Result.h"

#include <QString>
#include <QStringList>

#include <cstdio>

// What the program's command line asks for: zanfor-layout [options] [FILE].
struct CommandLine
{
    // --help or --version: `output` goes to standard output and the program
    // ends at once with success, before any window or display is needed.
    bool exitNow = false;
    QString output;
    // The layout file to open at start; empty when none was given.
    QString file;
};

// Parses the program's arguments, the first being the program itself. Qt's
// own options (-platform, -style, ...) are accepted and left to Qt. A wrong
// command line is a Failure whose message is the whole text for standard
// error, ending with a pointer to --help.
Result<CommandLine> parseCommandLine(const QStringList &arguments);

// The program's version as the build states it, e.g. "1.0".
QString applicationVersion();

// Ends an early answer: writes the help or version text to `out`, or the
// Failure's message to `err`, and returns the process's exit code. Output
// that does not reach `out` whole (a full disk) is an error too, reported
// on `err`.
int finishCommandLine(const Result<CommandLine> &commandLine, std::FILE *out = stdout, std::FILE *err = stderr);
