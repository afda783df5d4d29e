#include "support/LogRecords.h"

#include <regex>

std::vector<std::string> RecordsAfterStamps(const std::string& log)
{
    static const std::regex stamped("([0-9]{4}/[0-9]{1,2}/[0-9]{1,2}( [0-9]{1,2}:[0-9]{2}:[0-9]{2})?)(.*)");
    std::vector<std::string> records;
    std::size_t start = 0;
    for (std::size_t end; (end = log.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::string line = log.substr(start, end - start);
        std::smatch match;
        records.push_back(std::regex_match(line, match, stamped) ? match[3].str() : "<no stamp>" + line);
    }
    return records;
}
