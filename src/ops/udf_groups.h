// The User Defined Parameter Groups window: the operator's own named lists
// of catalogue variables, stored in the three function files and listed
// among the management functions.
#pragma once

#include "ui/widget_ids.h"

#include <string>

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
void process_udf_open();
int process_udf_create(const std::string& name);
void process_udf_view();
int process_udf_modify();
int process_udf_delete();
// 0 when "No" was pressed.
int confirm_udf_change(const std::string& action, const std::string& name);
// 0 when the work area differs from the stored members of the selected group.
int check_udf_close();
void cont_udf_close_proc();
// The warning text for a result code ("" for none).
std::string udf_result_text(int code);
// Runs a command of the window by widget id; 0 when the id is not one.
int udf_window_action(int id);
