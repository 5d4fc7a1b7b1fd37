// Inlines a source's quoted project includes, recursively and once each, into one file: OpenCL
// runtimes take a single program string and must not depend on an include search path.
//   spirovault-amalgamate ROOT INPUT OUTPUT
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// The path of a `#include "path"` line, or empty for any other line.
std::string QuotedInclude(const std::string& line) {
    size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line[at] != '#') return {};
    at = line.find_first_not_of(" \t", at + 1);
    if (at == std::string::npos || line.compare(at, 7, "include") != 0) return {};
    const size_t open = line.find_first_not_of(" \t", at + 7);
    if (open == std::string::npos || line[open] != '"') return {};
    const size_t close = line.find('"', open + 1);
    if (close == std::string::npos) return {};
    return line.substr(open + 1, close - open - 1);
}

bool Inline(const fs::path& root, const fs::path& file, std::set<fs::path>& seen,
            std::ostream& out) {
    const fs::path canonical = fs::weakly_canonical(file);
    if (!seen.insert(canonical).second) return true;
    std::ifstream in(file);
    if (!in) {
        std::cerr << "spirovault-amalgamate: cannot read " << file << "\n";
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        const std::string included = QuotedInclude(line);
        if (!included.empty()) {
            if (!Inline(root, root / included, seen, out)) return false;
        } else {
            out << line << '\n';
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::cout << "usage: spirovault-amalgamate ROOT INPUT OUTPUT\n\nWrites INPUT with its "
                     "quoted includes (found under ROOT) inlined, once each, to OUTPUT.\n";
        return 0;
    }
    if (argc != 4) {
        std::cerr << "usage: spirovault-amalgamate ROOT INPUT OUTPUT\n";
        return 2;
    }
    std::ostringstream text;
    std::set<fs::path> seen;
    if (!Inline(argv[1], argv[2], seen, text)) return 1;
    const std::string temp = std::string(argv[3]) + ".partial";
    {
        std::ofstream out(temp, std::ios::binary);
        out << text.str();
        if (!out) {
            std::cerr << "spirovault-amalgamate: cannot write " << argv[3] << "\n";
            return 1;
        }
    }
    fs::rename(temp, argv[3]);
    return 0;
}
