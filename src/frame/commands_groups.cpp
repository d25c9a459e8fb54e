// The site-default and user-group commands behind the dispatch ids.
#include "frame/commands_groups.h"

#include "frame/commands.h"
#include "ops/site_prm.h"
#include "ops/udf_groups.h"

void cmd_udf_open() {
    process_udf_open();
}

void cmd_site_open() {
    process_site_params();
}

int cmd_udf_new_group(const std::string& name) {
    return process_udf_create(name);
}

int groups_window_action(int id) {
    return site_window_action(id) || udf_window_action(id);
}

void groups_list_selection(int list_id) {
    if (list_id == W_SITE_PRM_LIST)
        update_sel_prm();
}

void cmd_list_action(int list_id, int, int) {
    if (list_id == W_UDF_GROUP_LIST)
        process_udf_view();
    else if (list_id == W_SITE_PRM_LIST)
        update_sel_prm();
}
