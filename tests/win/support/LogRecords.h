#pragma once
// The update log as the end-to-end tests read it.
#include <string>
#include <vector>

// The log's records without their timestamps (the zh_CN settings: yyyy/M/d, then the time unless it is
// midnight), newest first; a record without a timestamp is kept whole behind "<no stamp>".
std::vector<std::string> RecordsAfterStamps(const std::string& log);
