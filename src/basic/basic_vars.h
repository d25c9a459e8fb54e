// The variable tables of the basic-mode pages: the catalogue names each page
// reads and writes, in field order.
#pragma once

#include <string>
#include <vector>

using VarTable = std::vector<std::string>;

extern const VarTable gen_config_vars;
extern const VarTable gen_config_cont_vars;
extern const VarTable async_port_vars;
extern const VarTable async_port_cont_vars;
extern const VarTable add_async_port_vars;
extern const VarTable sec_conf_vars;
extern const VarTable sec_conf_vars_pri;
extern const VarTable radius_conf_vars;
extern const VarTable sync_port_vars;
extern const VarTable sync_port_cont_vars;
extern const VarTable appletalk_conf_vars;
extern const VarTable ip_conf_vars;
extern const VarTable ipx_conf_vars;
extern const VarTable lat_conf_vars;
extern const VarTable rem_addr_conf_chan_vars;
extern const VarTable rem_addr_conf_port_vars;
extern const VarTable wan_module_vars;
extern const VarTable wan_edit_conf_vars;
extern const VarTable trap_conf_vars;
extern const VarTable basic_dial_conf_vars;
extern const VarTable ppp_dial_conf_vars;

// Every table by name, for checks over all of them.
struct NamedVarTable {
    const char* name;
    const VarTable* vars;
};
extern const std::vector<NamedVarTable> basic_var_tables;
