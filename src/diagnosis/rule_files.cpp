#include "diagnosis/rule_files.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <sstream>

namespace treadkey {
namespace {

constexpr std::array<const char*, 5> kRuleFolders = {"/etc/udev/rules.d", "/run/udev/rules.d",
                                                     "/usr/local/lib/udev/rules.d", "/usr/lib/udev/rules.d",
                                                     "/lib/udev/rules.d"};

std::string Lowered(std::string text) {
    std::ranges::transform(text, text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// The quoted value of KEY="value" or KEY:="value" in a rule line; empty when the line has none.
std::string AssignedValue(const std::string& line, const std::string& key) {
    for (std::size_t at = line.find(key); at != std::string::npos; at = line.find(key, at + 1)) {
        std::size_t quote = at + key.size();
        while (quote < line.size() && (line[quote] == ':' || line[quote] == '=')) {
            ++quote;
        }
        if (quote < line.size() && line[quote] == '"' && line[quote - 1] == '=' && line[quote - 2] != '=') {
            const std::size_t end = line.find('"', quote + 1);
            return line.substr(quote + 1, end == std::string::npos ? std::string::npos : end - quote - 1);
        }
    }
    return {};
}

void ReadRules(const std::filesystem::path& file, RuleFile& rule) {
    std::istringstream lines(ReadSmallFile(file));
    for (std::string line; std::getline(lines, line);) {
        const std::string lowered = Lowered(line);
        const std::size_t text = lowered.find_first_not_of(" \t");
        if (text == std::string::npos || lowered[text] == '#' || lowered.find("2704") == std::string::npos ||
            lowered.find("2018") == std::string::npos) {
            continue;
        }
        rule.namesPedal = true;
        const bool hidraw = lowered.find("subsystem==\"hidraw\"") != std::string::npos ||
                            lowered.find("kernel==\"hidraw") != std::string::npos;
        const bool uaccess = lowered.find("uaccess") != std::string::npos;
        const std::string group = AssignedValue(line, "GROUP");
        if (hidraw && (uaccess || !group.empty() || !AssignedValue(line, "MODE").empty())) {
            rule.grantsHidraw = true;
            rule.usesUaccess = rule.usesUaccess || uaccess;
            rule.group = group.empty() ? rule.group : group;
        }
    }
}

} // namespace

std::vector<RuleFile> FindRuleFiles(const SystemRoot& system) {
    std::vector<RuleFile> rules;
    std::vector<std::filesystem::path> foldersRead;
    std::error_code error;
    for (const char* folder : kRuleFolders) {
        const std::filesystem::path real = std::filesystem::canonical(system.under(folder), error);
        if (error || std::ranges::find(foldersRead, real) != foldersRead.end()) {
            continue;
        }
        foldersRead.push_back(real);
        std::vector<RuleFile> inFolder;
        for (const auto& entry : std::filesystem::directory_iterator(real, error)) {
            if (entry.path().extension() != ".rules") {
                continue;
            }
            RuleFile rule;
            rule.path = std::filesystem::path(folder) / entry.path().filename();
            const auto earlier = std::ranges::find_if(rules, [&](const RuleFile& other) {
                return other.path.filename() == rule.path.filename() && other.maskedBy.empty();
            });
            if (earlier != rules.end()) {
                rule.maskedBy = earlier->path;
            }
            // A link to /dev/null or an empty file masks without rules of its own; both read as no lines.
            ReadRules(entry.path(), rule);
            inFolder.push_back(rule);
        }
        std::ranges::sort(inFolder, {}, &RuleFile::path);
        rules.insert(rules.end(), inFolder.begin(), inFolder.end());
    }
    return rules;
}

} // namespace treadkey
