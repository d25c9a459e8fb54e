#include "support/test_dirs.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "ui/app_globals.h"

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string tmpl = (fs::temp_directory_path() / "mm_test_XXXXXX").string();
    if (!mkdtemp(tmpl.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string source_install_dir() {
    const char* env = std::getenv("MM_SOURCE_INSTALL");
    if (!env || !*env)
        throw std::runtime_error("MM_SOURCE_INSTALL is not set");
    return env;
}

StagedInstall::StagedInstall() {
    fs::copy(source_install_dir(), tmp_.path(), fs::copy_options::recursive);
    mm_dir = tmp_.path();
}

std::string StagedInstall::catalogue(const std::string& file) const {
    return tmp_.path() + "/data/gui_mm_data/" + file;
}

void write_file(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}
