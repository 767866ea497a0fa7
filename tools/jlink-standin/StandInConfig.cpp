#include "StandInConfig.h"

#include <fstream>
#include <sstream>

namespace {

bool ParseNumber(const std::string &word, unsigned long long limit, unsigned long long &value)
{
    if (word.empty() || word.find_first_not_of("0123456789") != std::string::npos || word.size() > 10)
        return false;
    value = std::stoull(word);
    return value <= limit;
}

} // namespace

StandInConfig StandInConfig::Parse(const std::string &text, std::string &error)
{
    StandInConfig config;
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        const auto comment = line.find('#');
        if (comment != std::string::npos)
            line.erase(comment);
        std::istringstream words(line);
        std::string key;
        if (!(words >> key))
            continue;
        const auto complain = [&](const std::string &what) {
            error += "line " + std::to_string(lineNumber) + ": " + what + "\n";
        };
        if (key == "probes") {
            config.probes.clear();
            std::string word;
            unsigned long long serial = 0;
            while (words >> word) {
                if (ParseNumber(word, 0xFFFFFFFFull, serial))
                    config.probes.push_back(uint32_t(serial));
                else
                    complain("bad serial number \"" + word + "\"");
            }
        } else if (key == "fault") {
            FaultSetting fault;
            std::string from;
            unsigned long long fromCall = 1;
            if (!(words >> fault.name))
                complain("fault without a name");
            else if ((words >> from) && !ParseNumber(from, 1000000000ull, fromCall))
                complain("bad call number \"" + from + "\"");
            else {
                fault.fromCall = int(fromCall);
                config.faults.push_back(fault);
            }
        } else if (key == "memory") {
            std::getline(words >> std::ws, config.memoryFile);
            while (!config.memoryFile.empty() && (config.memoryFile.back() == ' ' || config.memoryFile.back() == '\t' ||
                                                  config.memoryFile.back() == '\r'))
                config.memoryFile.pop_back();
        } else {
            complain("unknown setting \"" + key + "\"");
        }
    }
    return config;
}

StandInConfig StandInConfig::Load(const std::string &path, std::string &error)
{
    std::ifstream file(path);
    if (!file) {
        error += "cannot read " + path + "\n";
        return StandInConfig{};
    }
    std::ostringstream text;
    text << file.rdbuf();
    return Parse(text.str(), error);
}
