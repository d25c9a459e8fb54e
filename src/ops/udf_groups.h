// User-defined parameter groups: the operator's own named lists of
// catalogue variables, stored in the three function files and listed among
// the management functions. The window and mm_cli's group verb both run
// these commands; the window's lists are the frame's.
#pragma once

#include <string>
#include <vector>

#include "ui/outcome.h"

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
    UDF_NOT_REPLACED = -12 // a file could not be replaced; the warning says which
};

// The user groups window as the operator left it.
struct UdfRequest {
    std::string group;                     // group selected in the group list, "" none
    int group_pos = 0;                     // its position (1-based), 0 none
    std::vector<std::string> groups;       // the group list
    std::vector<std::string> work;         // the work area
    std::vector<int> work_selected;        // selected work-area positions
    std::vector<std::string> prm_selected; // parameters selected in the parameter list
};

// What a group command did: its UdfResult, the warnings it gave on the
// way (the result's own text is udf_result_text), and the members of a
// viewed group, sorted.
struct UdfOutcome {
    Outcome outcome;
    int code = UDF_OK;
    std::vector<std::string> members;
};

// Reads the function catalogue again; false when it cannot be read.
bool udf_reload();
// The user-defined groups, sorted as the lists show them.
std::vector<std::string> udf_group_names();
// A new group named name of the members work.
UdfOutcome udf_create(const std::vector<std::string>& work, const std::string& name);
// The members of group.
UdfOutcome udf_view(const std::string& group);
// Group takes the members work / goes, once asker had it confirmed.
UdfOutcome udf_modify(const std::string& group, const std::vector<std::string>& work, Asker& asker);
UdfOutcome udf_delete(const std::string& group, Asker& asker);
// 0 when the work area differs from the selected group's members.
int check_udf_close(const UdfRequest& req);
// The warning of a UdfResult, "" when it has none.
std::string udf_result_text(int code);
// Inserts item into items at its alphabetical place unless it is there;
// its position (0-based), or -1 when it was there.
int udf_insert_sorted(std::vector<std::string>* items, const std::string& item);
