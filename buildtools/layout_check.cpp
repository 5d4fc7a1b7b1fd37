// Turns the host API's binary layout table into compile-time checks of our declarations of it,
// so that a record, constant or suite table that disagrees with the host fails the build on
// every compiler that builds the plug-in.
//   spirovault-layout-check TABLE OUTPUT REPORT HEADER...
// TABLE: tab-separated rows (const, type, field, suite, slot). OUTPUT: a C++ source that
// includes every HEADER and holds one static_assert per fact. Rows are checked for the names
// the headers declare; REPORT lists the rows whose name no header declares and the declared
// names the table has no row for (so that later additions are seen to be unchecked), and the
// same list goes to standard output.
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream stream(line);
    std::string field;
    while (std::getline(stream, field, '\t')) fields.push_back(field);
    return fields;
}

// The top-level comma-separated parts of a signature's argument list.
std::vector<std::string> SplitArguments(const std::string& list) {
    std::vector<std::string> parts;
    std::string current;
    int depth = 0;
    for (char c : list) {
        if (c == '<' || c == '(') ++depth;
        if (c == '>' || c == ')') --depth;
        if (c == ',' && depth == 0) {
            parts.push_back(current);
            current.clear();
        } else if (!(c == ' ' && current.empty())) {
            current += c;
        }
    }
    if (!current.empty()) parts.push_back(current);
    return parts;
}

struct Signature {
    std::string result;
    std::vector<std::string> arguments;
    bool variadic = false;
};

Signature ParseSignature(const std::string& text) {
    Signature signature;
    const size_t open = text.find('(');
    signature.result = text.substr(0, open);
    signature.arguments = SplitArguments(text.substr(open + 1, text.rfind(')') - open - 1));
    if (!signature.arguments.empty() && signature.arguments.back() == "...") {
        signature.variadic = true;
        signature.arguments.pop_back();
    }
    return signature;
}

// The size in bytes on Windows x64 of a value of type code `code`.
long CodeSize(const std::string& code) {
    static const std::map<std::string, long> kScalars = {
        {"int8", 1},   {"uint8", 1},   {"bool", 1},   {"int16", 2},   {"uint16", 2},
        {"int32", 4},  {"uint32", 4},  {"enum32", 4}, {"float32", 4}, {"int64", 8},
        {"uint64", 8}, {"float64", 8}, {"ptr", 8},    {"void", 0},
    };
    if (code.empty()) return 0;
    if (code.back() == '*' || code.rfind("fnptr<", 0) == 0) return 8;
    const auto scalar = kScalars.find(code);
    if (scalar != kScalars.end()) return scalar->second;
    const size_t bracket = code.find('[');
    if (bracket == std::string::npos) return -1;
    const long count = std::stol(code.substr(bracket + 1));
    const std::string base = code.substr(0, bracket);
    if (base == "struct" || base == "union") return count;
    // An array, several dimensions outer first.
    long size = CodeSize(base);
    for (size_t at = bracket; at != std::string::npos; at = code.find('[', at + 1)) {
        size *= std::stol(code.substr(at + 1));
    }
    return size;
}

// A constant expression true when type expression `type` has the kind `code` names.
std::string KindCheck(const std::string& type, const std::string& code) {
    const std::string t = "std::remove_cv_t<" + type + ">";
    if (code == "void") return "std::is_void_v<" + t + ">";
    if (code.rfind("fnptr<", 0) == 0) {
        const Signature signature = ParseSignature(code.substr(6, code.size() - 7));
        std::string sizes;
        for (const std::string& argument : signature.arguments) {
            sizes += ", " + std::to_string(CodeSize(argument));
        }
        return "layout_check::SignatureIs<" + t + ", " +
               std::to_string(CodeSize(signature.result)) + ", " +
               (signature.variadic ? "true" : "false") + sizes + ">()";
    }
    if (code.back() == '*' || code == "ptr") return "std::is_pointer_v<" + t + ">";
    if (code.rfind("struct[", 0) == 0) return "std::is_class_v<" + t + ">";
    if (code.rfind("union[", 0) == 0) return "std::is_union_v<" + t + ">";
    if (code.find('[') != std::string::npos) {
        const size_t bracket = code.find('[');
        const long count = std::stol(code.substr(bracket + 1));
        const std::string rest = code.substr(code.find(']', bracket) + 1);
        return "(std::extent_v<" + t + "> == " + std::to_string(count) + " && " +
               KindCheck("std::remove_extent_t<" + t + ">", code.substr(0, bracket) + rest) + ")";
    }
    if (code == "float32" || code == "float64") return "std::is_floating_point_v<" + t + ">";
    if (code == "bool") return "std::is_same_v<" + t + ", bool>";
    if (code == "enum32") return "(std::is_enum_v<" + t + "> || std::is_integral_v<" + t + ">)";
    const bool is_unsigned = code[0] == 'u';
    return std::string("layout_check::IntegerIs<") + t + ", " + (is_unsigned ? "false" : "true") +
           ">()";
}

std::string Quote(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

// The names a header declares at file scope in the forms our host headers use: macros,
// typedef names, struct tags, enumerators and constexpr variables. Members and the insides of
// classes are not declarations of the host's.
void CollectDeclarations(const std::string& path, std::map<std::string, std::string>& declared) {
    std::ifstream in(path);
    const std::string file = path.substr(path.find_last_of('/') + 1);
    static const std::regex kDefine(R"(^\s*#\s*define\s+(\w+))");
    static const std::regex kTypedefName(R"(^\s*typedef\s[^;(]*?\b(\w+)\s*(\[[^\]]*\])*\s*;)");
    static const std::regex kTypedefFunction(R"(^\s*typedef\s.*\(\s*\*\s*(\w+)\s*\))");
    static const std::regex kClosing(R"(^\s*\}\s*(\w+)\s*;)");
    static const std::regex kTag(R"(^\s*(typedef\s+)?(struct|union)\s+(\w+)\s*\{)");
    static const std::regex kEnumerator(R"(^\s*([A-Za-z_]\w*))");
    static const std::regex kConstexpr(R"(^\s*(inline\s+)?constexpr\s+[\w:]+\s+(\w+)\s*=)");
    std::string line;
    int depth = 0;
    std::string enum_body;  // the text of an enumeration being read
    bool in_enum = false;
    std::smatch m;
    while (std::getline(in, line)) {
        const size_t comment = line.find("//");
        if (comment != std::string::npos) line.erase(comment);
        if (std::regex_search(line, m, kDefine)) {
            const std::string name = m[1];
            if (name.rfind("SPIROVAULT_", 0) != 0) declared[name] = file;
            continue;
        }
        if (depth == 0 && !in_enum && line.find("enum") != std::string::npos &&
            line.find('{') != std::string::npos) {
            in_enum = true;
            enum_body.clear();
            line = line.substr(line.find('{') + 1);
        }
        if (in_enum) {
            const size_t close = line.find('}');
            enum_body += line.substr(0, close) + ",";
            if (close == std::string::npos) continue;
            in_enum = false;
            std::stringstream items(enum_body);
            std::string item;
            while (std::getline(items, item, ',')) {
                if (std::regex_search(item, m, kEnumerator)) declared[m[1]] = file;
            }
            continue;
        }
        const int before = depth;
        for (char c : line) depth += c == '{' ? 1 : c == '}' ? -1 : 0;
        if (before == 0) {
            if (std::regex_search(line, m, kTypedefFunction)) {
                declared[m[1]] = file;
            } else if (std::regex_search(line, m, kTypedefName)) {
                declared[m[1]] = file;
            } else if (std::regex_search(line, m, kConstexpr)) {
                declared[m[2]] = file;
            }
            if (std::regex_search(line, m, kTag)) declared[m[3]] = file;
        } else if (depth == 0 && std::regex_search(line, m, kClosing)) {
            declared[m[1]] = file;
        }
    }
}

const char* kPrologue = R"(// Generated from the host API's layout table: do not edit.
#include <cstddef>
#include <type_traits>
#include <utility>

namespace layout_check {

template <typename T, bool Signed>
constexpr bool IntegerIs() {
    if constexpr (std::is_enum_v<T>) {
        return std::is_signed_v<std::underlying_type_t<T>> == Signed;
    } else {
        return std::is_integral_v<T> && std::is_signed_v<T> == Signed;
    }
}

template <typename T>
constexpr long SizeOrZero() {
    if constexpr (std::is_void_v<T>) {
        return 0;
    } else {
        return static_cast<long>(sizeof(T));
    }
}

template <typename F>
struct Function;
template <typename R, typename... A>
struct Function<R (*)(A...)> {
    static constexpr long result = SizeOrZero<R>();
    static constexpr bool variadic = false;
    static constexpr long count = sizeof...(A);
    static constexpr long sizes[sizeof...(A) + 1] = {static_cast<long>(sizeof(A))..., 0};
};
template <typename R, typename... A>
struct Function<R (*)(A..., ...)> {
    static constexpr long result = SizeOrZero<R>();
    static constexpr bool variadic = true;
    static constexpr long count = sizeof...(A);
    static constexpr long sizes[sizeof...(A) + 1] = {static_cast<long>(sizeof(A))..., 0};
};

template <typename F, long Result, bool Variadic, long... Sizes>
constexpr bool SignatureIs() {
    if constexpr (!std::is_pointer_v<F> || !std::is_function_v<std::remove_pointer_t<F>>) {
        return false;
    } else {
        using Fn = Function<F>;
        constexpr long expected[sizeof...(Sizes) + 1] = {Sizes..., 0};
        if (Fn::result != Result || Fn::variadic != Variadic) return false;
        if (Fn::count != static_cast<long>(sizeof...(Sizes))) return false;
        for (long i = 0; i < Fn::count; ++i) {
            if (Fn::sizes[i] != expected[i]) return false;
        }
        return true;
    }
}

constexpr bool SameText(const char* a, const char* b) {
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

}  // namespace layout_check

)";

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::cerr << "usage: spirovault-layout-check TABLE OUTPUT REPORT HEADER...\n";
        return 2;
    }
    std::map<std::string, std::string> declared;
    std::vector<std::string> headers;
    for (int i = 4; i < argc; ++i) {
        headers.push_back(argv[i]);
        CollectDeclarations(argv[i], declared);
    }

    std::ifstream table(argv[1]);
    if (!table) {
        std::cerr << "spirovault-layout-check: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::ostringstream checks;
    std::set<std::string> with_row;
    std::vector<std::string> undeclared_rows;
    std::map<std::string, std::string> suite_structs;  // "NAME" VERSION -> struct
    int count = 0;
    auto check = [&](const std::string& condition, const std::string& what) {
        checks << "static_assert(" << condition << ",\n              " << Quote(what) << ");\n";
        ++count;
    };
    auto known = [&](const std::string& name, const std::string& row) {
        with_row.insert(name);
        if (declared.count(name) != 0) return true;
        undeclared_rows.push_back(row);
        return false;
    };
    std::string line;
    while (std::getline(table, line)) {
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> f = SplitTabs(line);
        const std::string& kind = f[0];
        if (kind == "const" && f.size() >= 3) {
            if (!known(f[1], line)) continue;
            if (f[2].front() == '"') {
                check("layout_check::SameText(" + f[1] + ", " + f[2] + ")", f[1] + " is " + f[2]);
            } else {
                check("static_cast<long long>(" + f[1] + ") == " + f[2] + "LL",
                      f[1] + " == " + f[2]);
            }
        } else if (kind == "type" && f.size() >= 7) {
            if (!known(f[1], line)) continue;
            check("sizeof(" + f[1] + ") == " + f[3] + " && alignof(" + f[1] + ") == " + f[5],
                  f[1] + ": size " + f[3] + ", align " + f[5]);
            check(KindCheck(f[1], f[6]), f[1] + " is " + f[6]);
        } else if (kind == "field" && f.size() >= 8) {
            if (!known(f[1], line)) continue;
            const std::string member = "decltype(std::declval<" + f[1] + "&>()." + f[2] + ")";
            const std::string what = f[1] + "." + f[2];
            check("__builtin_offsetof(" + f[1] + ", " + f[2] + ") == " + f[4],
                  what + " at offset " + f[4]);
            check("sizeof(" + member + ") == " + f[6], what + " of size " + f[6]);
            check(KindCheck("std::remove_reference_t<" + member + ">", f[7]), what + " is " + f[7]);
        } else if (kind == "suite" && f.size() >= 11) {
            const std::string& name = f[10];
            suite_structs[f[1] + " " + f[2]] = name;
            if (!known(name, line)) continue;
            check("sizeof(" + name + ") == " + f[4] + " && alignof(" + name + ") == " + f[6],
                  f[1] + " " + f[2] + " is " + name + " of " + f[8] + " slots");
        } else if (kind == "slot" && f.size() >= 8) {
            const std::string& name = suite_structs[f[1] + " " + f[2]];
            if (declared.count(name) == 0) continue;  // reported with its suite row
            const std::string what = f[1] + " " + f[2] + " slot " + f[3] + " " + f[4];
            check("__builtin_offsetof(" + name + ", " + f[4] + ") == " + f[6],
                  what + " at offset " + f[6]);
            const std::string member = "decltype(std::declval<" + name + "&>()." + f[4] + ")";
            check(KindCheck("std::remove_reference_t<" + member + ">", "fnptr<" + f[7] + ">"),
                  what + " is " + f[7]);
        }
    }

    std::ofstream out(argv[2]);
    out << kPrologue;
    for (const std::string& header : headers) {
        out << "#include \"host/" << header.substr(header.find_last_of('/') + 1) << "\"\n";
    }
    out << "\n" << checks.str();

    std::ostringstream report;
    report << "host layout: " << count << " checks\n";
    for (const std::string& row : undeclared_rows) {
        report << "host layout: no declaration for row: " << row << "\n";
    }
    for (const auto& [name, file] : declared) {
        if (with_row.count(name) == 0) {
            report << "host layout: no row for " << name << " (" << file << ")\n";
        }
    }
    std::ofstream(argv[3]) << report.str();
    std::cout << report.str();
    return 0;
}
