// Management function catalogue (named groups of catalogue variables) and the
// hotspot help texts of the basic-mode windows.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

constexpr int MAX_MIB_FUNCS = 512;
constexpr int MAX_FUNC_GROUPS = 2;
constexpr int MAX_HOTSPOTS = 3000;

// Function groups.
enum FuncGroup { FG_STANDARD = 0, FG_USER_DEFINED = 1 };

struct MgmtFunction {
    std::vector<int> var_list; // catalogue ids in file order
    std::string name;
    int func_id = 0;
};

struct HotspotEntry {
    bool present = false;
    int target = 0; // basic widget id of the text area that shows the help
    std::string text;
};

extern std::array<std::unique_ptr<MgmtFunction>, MAX_MIB_FUNCS> mib_func_list;
extern int tot_dat_mib_func;
extern std::array<std::vector<int>, MAX_FUNC_GROUPS> mib_grp_list; // function ids
extern std::array<HotspotEntry, MAX_HOTSPOTS> hotspot_data_list;

// Frees the previous function catalogue, then reads mib_func_grp.dat,
// mib_func.dat and mib_func_vars.dat from mm_dir/directory. 0 or -4.
int read_func_info(const std::string& directory);
void free_func_info();

// Reads hotspot_help.dat from mm_dir/directory. 0 or -4.
int read_hotspot_info(const std::string& directory);
int read_hotspot_file(const std::string& path);

// Index of the first function (lowest slot) with that function id, or -1.
int find_func_by_id(int func_id);
// Index of the first function with that name, or -1.
int find_func_by_name(const std::string& name);

// Position (0-based) at which text goes into a list kept in alphabetical
// order: before the first item not smaller, "CallDef_" items last.
int get_alpha_pos(const std::vector<std::string>& items, const std::string& text);

// True when a variable of port class pc is listed for port type code code.
bool prm_fits_port_type(int port_class, int code);
