// The User Defined Parameter Groups window: the operator's own named lists
// of catalogue variables, stored in the three function files and listed
// among the management functions.
#pragma once

#include "ui/widget_ids.h"

#include <string>
#include <vector>

enum UdfIds {};

// Result codes of the group commands.
enum UdfResult {
    UDF_OK = 0,
    UDF_DECLINED = 17,
    UDF_NO_FILE = -4,
    UDF_NO_GROUP = -6,
    UDF_NO_MEMBER = -7,
    UDF_NO_REREAD = -8,
    UDF_NO_FREE_ID = -9,
    UDF_BAD_NAME = -10,
    UDF_NAME_CLASH = -11,
    UDF_NOT_REPLACED = -12 // a file could not be replaced; reported already
};

// Opens the window after reading the function catalogue again.
// The user groups window as the operator left it.
struct UdfRequest {
    std::string group;                     // group selected in the group list, "" none
    int group_pos = 0;                     // its position (1-based), 0 none
    std::vector<std::string> groups;       // the group list
    std::vector<std::string> work;         // the work area
    std::vector<int> work_selected;        // selected work-area positions
    std::vector<std::string> prm_selected; // parameters selected in the parameter list
};

// Opens the window with the parameters of port_type in its parameter list.
void process_udf_open(int port_type);
// Port type code of a parameter-list choice toggle, -1 for another id.
int udf_choice_port_type(int toggle_id);
// A new group named name of the work area's members: a UdfResult.
int process_udf_create(const UdfRequest& req, const std::string& name);
// The selected group's members into the work area.
void process_udf_view(const UdfRequest& req);
// UdfResults: the selected group takes the work area's members / goes.
int process_udf_modify(const UdfRequest& req);
int process_udf_delete(const UdfRequest& req);
int confirm_udf_change(const std::string& action, const std::string& name);
// 0 when the work area differs from the selected group's members.
int check_udf_close(const UdfRequest& req);
void cont_udf_close_proc();
std::string udf_result_text(int code);
// The window's Add, Remove and Close; the warning of a UdfResult; the
// new-group prompt.
void udf_add_selected(const UdfRequest& req);
void udf_remove_selected(const UdfRequest& req);
void udf_close(const UdfRequest& req);
void udf_show_result(int code);
void udf_new_group_prompt();
