// The site-default and user-group windows from the main window, and their
// lists.
#include "frame/commands.h"
#include "ops/site_prm.h"
#include "ops/udf_groups.h"

int cmd_udf_open(int) {
    process_udf_open();
    return 1;
}

int cmd_site_open(int) {
    process_site_params();
    return 1;
}

int cmd_udf_new_group(const std::string& name) {
    return process_udf_create(name);
}

void cmd_list_action(int list_id, int, int) {
    if (list_id == W_UDF_GROUP_LIST)
        process_udf_view();
    else if (list_id == W_SITE_PRM_LIST)
        update_sel_prm();
}
