// Counts the function declarations of ui.h: lines that start a declaration
// with a return type at the beginning of the line and an opening bracket.
#include <fstream>
#include <regex>
#include <string>

int count_ui_declarations(const std::string& header_path) {
    std::ifstream in(header_path);
    static const std::regex decl(
        R"(^(void|int|bool|std::string|std::vector<std::string>|std::vector<int>)\s+(\w+)\()");
    std::string line;
    int n = 0;
    while (std::getline(in, line))
        if (std::regex_search(line, decl))
            ++n;
    return n;
}
