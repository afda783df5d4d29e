#pragma once
// How the helper programs of the end-to-end tests (the fake client, the show recorder hook) add a line to
// their record file while the test may be reading it.
#include <string>

// Appends the text to the file, creating it when missing. A test reads the record now and then, refusing
// writers while it reads, so an open refused for sharing is tried again for a while rather than the line
// lost; the test would otherwise wait in vain for what the line tells.
void AppendRecordLine(const std::string& path, const std::string& text);
