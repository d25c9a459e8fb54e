// Reading back what an operator's actions left: device values, files, and
// the list of windows of the interface description. No X here.
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

#include "catalogue/mib_catalogue.h"
#include "operator.h"
#include "support/process.h"

std::string snmp_get(const std::string& addr, const std::string& var) {
    size_t dot = var.find('.');
    int id = 0;
    if (get_check_mib_var(var.substr(0, dot), &id) == 0)
        return "";
    const MibVarEntry* e = mib_var(id);
    std::string oid = e->oid_num + (dot == std::string::npos ? ".0" : var.substr(dot));
    ProgramResult r =
        run_program({"snmpget", "-v1", "-c", "vantor", "-t", "2", "-r", "1", "-Oqv", addr, oid},
                    10000, {"MIBS="});
    std::string v = r.status == 0 ? r.out : "";
    while (!v.empty() && (v.back() == '\n' || v.back() == ' '))
        v.pop_back();
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
        v = v.substr(1, v.size() - 2);
    std::string name;
    if (e->enum_id >= 0 && cvt_enum_num_str(id, v, &name) == 1)
        return name;
    return v;
}

std::vector<std::string> file_lines(const std::string& path) {
    std::vector<std::string> out;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            out.push_back(line);
    return out;
}

std::map<std::string, std::string> uil_top_objects(const std::string& ui_dir) {
    ProgramResult ls = run_program({"ls", ui_dir}, 5000);
    std::map<std::string, std::string> defined;
    std::set<std::string> held;
    std::istringstream files(ls.out);
    static const std::regex object(R"(\bobject\s+(\w+)\s*:\s*(\w+))");
    static const std::regex controls(R"(controls\s*\{([^}]*)\})");
    static const std::regex control(R"(Xm\w+\s+(\w+)\s*;)");
    static const std::regex submenu(R"(XmNsubMenuId\s*=\s*(\w+))");
    auto each = [](const std::string& text, const std::regex& re, auto fn) {
        for (std::sregex_iterator it(text.begin(), text.end(), re), end; it != end; ++it)
            fn((*it)[1].str());
    };
    for (std::string f; std::getline(files, f);) {
        if (f.size() < 4 || f.substr(f.size() - 4) != ".uil")
            continue;
        std::ifstream in(ui_dir + "/" + f);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (std::sregex_iterator it(text.begin(), text.end(), object), end; it != end; ++it)
            defined[(*it)[1].str()] = (*it)[2].str();
        each(text, submenu, [&](const std::string& n) { held.insert(n); });
        each(text, controls, [&](const std::string& block) {
            each(block, control, [&](const std::string& n) { held.insert(n); });
        });
    }
    std::map<std::string, std::string> roots;
    for (const auto& d : defined)
        if (held.count(d.first) == 0)
            roots.insert(d);
    return roots;
}
