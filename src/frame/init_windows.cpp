// The secondary windows of the staged initialisation: title, icon name,
// shell and form names with their widget slots, position and size. Shells
// take slots from 1200 up, which no control of the interface uses.
#include <cstring>

#include "frame/startup.h"

const InitWindow init_window_table[] = {
    // No window opens over the main window's menu bar (y below 100), in
    // either mode: Help and View Script are moved down from 10 and 25.
    {5, "Help", "MM/help", "help_top", 1200, "help_form", 107, 400, 100, 600, 400},
    {5, "DVS Status", "MM/udas", "udas_stat_top", 1201, "udas_stat_form", 870, 60, 275, 845, 545},
    {6, "Show", "MM/show", "show_top", 1202, "show_form", 125, 400, 100, 500, 600},
    {6, "Set", "MM/set", "set_top", 1203, "set_form", 150, 20, 325, 850, 410},
    {6, "Morix Status", "MM/mrx", "mrx_stat_top", 1204, "mrx_stat_form", 288, 20, 200, 900, 350},
    {6, "Morix MP Status", "MM/mp", "mp_stat_top", 1205, "mp_stat_form", 1019, 60, 275, 840, 440},
    {8, "Morix Async Port Status", "MM/asy", "asy_stat_top", 1206, "asy_stat_form", 334, 20, 325,
     800, 475},
    {9, "Morix Interface Port Status", "MM/itf", "itf_stat_top", 1208, "itf_stat_form", 342, 20,
     325, 775, 425},
    {9, "PRI Channels Status", "MM/pri_chn", "pri_stat_top", 1209, "pri_stat_form", 834, 60, 275,
     775, 560},
    {9, "Morix Modem Calls Status", "MM/imdm_sts", "imdm_stat_top", 1210, "imdm_stat_form", 1046,
     60, 275, 780, 360},
    {10, "Internal CSU Status", "MM/int_csu", "pri_csu_stat_top", 1211, "pri_csu_stat_form", 920,
     50, 100, 870, 630},
    {10, "Reset", "MM/rst", "rst_top", 1212, "rst_form", 501, 360, 100, 640, 465},
    {10, "Broadcast", "MM/bcst", "bcast_top", 1213, "bcast_form", 180, 400, 100, 475, 250},
    {11, "SNMP Information", "MM/snmp", "snmp_top", 1214, "snmp_form", 530, 100, 100, 660, 175},
    {12, "Compare", "MM/comp", "cmp_top", 1215, "cmp_form", 200, 100, 100, 760, 860},
    {13, "Copy", "MM/copy", "cpy_top", 1216, "cpy_form", 450, 100, 100, 450, 625},
    {14, "Discover Morixes/Search Device", "MM/disc", "disc_top", 1217, "disc_form", 238, 100, 100,
     780, 600},
    {15, "Site Parameters", "MM/site", "site_prm_top", 1218, "site_prm_form", 600, 100, 100, 560,
     375},
    {16, "User Defined Parameter Groups", "MM/udf", "udf_top", 1219, "udf_form", 250, 100, 100, 810,
     375},
    {16, "View Script", "MM/view", "scr_view_top", 1220, "scr_view_form", 400, 400, 100, 700, 580},
    {17, "Create Script", "MM/crt", "scr_crt_top", 1221, "scr_crt_form", 350, 400, 100, 700, 425},
    {18, "Execute Script", "MM/exe", "scr_exe_top", 1222, "scr_exe_form", 410, 400, 175, 700, 620},
    {19, "T1 Status", "MM/t1", "t1_stat_top", 1223, "t1_stat_form", 700, 50, 100, 870, 630},
    {0, nullptr, nullptr, nullptr, 0, nullptr, 0, 0, 0, 0, 0}};

int init_window_count() {
    int n = 0;
    while (init_window_table[n].title != nullptr)
        ++n;
    return n;
}

const InitWindow* find_init_window(int form_slot) {
    for (int i = 0; init_window_table[i].title != nullptr; ++i)
        if (init_window_table[i].form_slot == form_slot)
            return &init_window_table[i];
    return nullptr;
}
