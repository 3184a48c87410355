// Reads every #include "..." of the program's sources and fails when a folder includes from a
// folder on a higher floor, or when folders include each other in a loop. Keeps the house's
// floors honest as pages are added. A file stands on its folder's floor, whatever its name.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Bottom to top. Folders on one floor may use each other, but never in a loop. The two programs
// share the floor above the core and never use each other: what both need belongs below. Each
// folder under platform/ is one system's implementations of interfaces declared on the floors
// below; it stands on top, so nothing but the tests includes it.
constexpr int kProgramFloor = 6;
const std::map<std::string, int> kFloors = {
    {"base", 0},   {"device", 1}, {"params", 2}, {"buttons", 3},         {"settings", 3},
    {"macros", 3}, {"cycle", 4},  {"config", 5}, {"cli", kProgramFloor}, {"gui", kProgramFloor},
};
constexpr int kPlatformFloor = 7;

struct Edge {
    std::string from;  // the including file
    std::string to;    // the included file
};

// The unit a source path belongs to: its first folder, or platform/<system>.
std::optional<std::string> unitOf(const std::string& path) {
    const auto slash = path.find('/');
    if (slash == std::string::npos) return std::nullopt;
    const std::string folder = path.substr(0, slash);
    if (folder == "platform") {
        const auto next = path.find('/', slash + 1);
        if (next == std::string::npos) return std::nullopt;
        return path.substr(0, next);
    }
    if (!kFloors.contains(folder)) return std::nullopt;
    return folder;
}

int floorOf(const std::string& unit) {
    return unit.starts_with("platform/") ? kPlatformFloor : kFloors.at(unit);
}

// The units present under root: every floor's folder and each system's folder.
std::vector<std::string> unitsUnder(const fs::path& root) {
    std::vector<std::string> units;
    for (const auto& [folder, floor] : kFloors) {
        (void)floor;
        if (fs::is_directory(root / folder)) units.push_back(folder);
    }
    if (fs::is_directory(root / "platform")) {
        for (const auto& entry : fs::directory_iterator(root / "platform"))
            if (entry.is_directory())
                units.push_back("platform/" + entry.path().filename().string());
    }
    return units;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: check_layers SOURCE_DIR\n";
        return 2;
    }
    const fs::path root = argv[1];
    const std::regex includeLine(R"(^\s*#\s*include\s*\"([^\"]+)\")");

    // Every include between two of our units, grouped by unit pair.
    std::map<std::pair<std::string, std::string>, Edge> edges;
    int failures = 0;
    for (const std::string& from : unitsUnder(root)) {
        for (const auto& entry : fs::recursive_directory_iterator(root / from)) {
            const auto ext = entry.path().extension();
            if (ext != ".h" && ext != ".cpp") continue;
            const std::string file = fs::relative(entry.path(), root).generic_string();
            std::ifstream in(entry.path());
            std::string line;
            std::smatch m;
            while (std::getline(in, line)) {
                if (!std::regex_search(line, m, includeLine)) continue;
                const std::string target = m[1];
                const auto to = unitOf(target);
                if (!to || from == *to) continue;
                if (floorOf(*to) > floorOf(from)) {
                    std::cerr << "upward include: " << file << " (" << from << ") includes "
                              << target << " (" << *to << ")\n";
                    ++failures;
                } else if (floorOf(from) == kProgramFloor && floorOf(*to) == kProgramFloor) {
                    std::cerr << "one program includes the other: " << file << " (" << from
                              << ") includes " << target << " (" << *to << ")\n";
                    ++failures;
                }
                edges.try_emplace({from, *to}, Edge{file, target});
            }
        }
    }

    // A loop between units: some unit reaches itself again.
    std::map<std::string, std::set<std::string>> uses;
    for (const auto& [pair, edge] : edges) uses[pair.first].insert(pair.second);
    std::set<std::pair<std::string, std::string>> reported;
    for (const auto& [pair, edge] : edges) {
        // Does pair.second reach pair.first?
        std::set<std::string> seen;
        std::vector<std::string> todo{pair.second};
        bool back = false;
        while (!todo.empty() && !back) {
            const std::string unit = todo.back();
            todo.pop_back();
            if (!seen.insert(unit).second) continue;
            for (const std::string& next : uses[unit]) {
                if (next == pair.first) back = true;
                todo.push_back(next);
            }
        }
        const auto key = std::minmax(pair.first, pair.second);
        if (back && reported.insert(key).second) {
            std::cerr << "include loop: " << edge.from << " (" << pair.first << ") includes "
                      << edge.to << " (" << pair.second << "), and " << pair.second
                      << " leads back to " << pair.first << "\n";
            ++failures;
        }
    }
    if (failures == 0) std::cout << "floors hold: no upward include, no loop\n";
    return failures == 0 ? 0 : 1;
}
