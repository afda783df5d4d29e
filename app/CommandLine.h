#pragma once
// The program's command line: its splitting into arguments and the run mode it selects.
#include <string>
#include <vector>

// The run mode of an update run (TFrmMain's RunMode); the empty string means no update run.
constexpr char AutoRunMode[] = "AutoRun";

// Splits a command line into arguments: runs of blanks and control characters (bytes up to 0x20) separate
// them; a double quote opens a quoted run, which may hold blanks and lasts to the next double quote (or the
// end); quote characters are dropped. Counting stops at the first empty argument (the end of the line, or
// an argument made of quotes only such as ""). Argument 0 is the program's own path.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// AutoRunMode when any argument after the first, upper-cased byte-wise, equals "-UR"; otherwise "".
std::string RunModeFor(const std::vector<std::string>& arguments);
