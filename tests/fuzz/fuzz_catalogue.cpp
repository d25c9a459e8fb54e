// Fuzz entry for the catalogue readers: the first byte picks the reader, the
// rest is the file content. Built as a libFuzzer target with clang
// (-DMM_FUZZ=ON) and as a corpus replay program in every build.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "catalogue/func_catalogue.h"
#include "catalogue/mib_catalogue.h"
#include "ui/app_globals.h"

namespace {

// One private folder per process, with the three function files.
const std::string& work_dir() {
    static std::string dir;
    if (dir.empty()) {
        char tmpl[] = "/tmp/mm_fuzz_XXXXXX";
        if (!mkdtemp(tmpl))
            std::abort();
        dir = tmpl;
    }
    return dir;
}

void put(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        std::abort();
    if (size)
        std::fwrite(data, 1, size, f);
    std::fclose(f);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const std::string& dir = work_dir();
    mm_dir = dir;
    std::string file = dir + "/input.dat";
    put(file, data + 1, size - 1);
    std::FILE* saved = stdout;
    stdout = std::fopen("/dev/null", "w"); // keep invalid-line reports quiet
    switch (data[0] % 5) {
    case 0:
        clear_mib_info();
        read_mib_dat(file);
        break;
    case 1:
        read_mib_site_def_dat(file);
        break;
    case 2:
        read_mib_enum_dat(file);
        break;
    case 3:
        for (const char* f : {"/mib_func_grp.dat", "/mib_func.dat", "/mib_func_vars.dat"})
            put(dir + f, data + 1, size - 1);
        mm_dir = "/";
        read_func_info(dir.substr(1));
        break;
    default:
        read_hotspot_file(file);
        break;
    }
    std::fclose(stdout);
    stdout = saved;
    return 0;
}
