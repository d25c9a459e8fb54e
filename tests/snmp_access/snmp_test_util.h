// Shared set-up of the SNMP access tests: catalogue entries written straight
// into the tables, a clean device list and UI state for every test.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/func_catalogue.h"
#include "catalogue/mib_catalogue.h"
#include "snmp_access/morix_record.h"
#include "ui/app_globals.h"
#include "ui/ui.h"
#include "ui_headless/ui_headless.h"

struct VarDef {
    int id;
    std::string name;
    std::string oid;
    int data_type = 2;
    int port_class = 0;
    int inst_type = 0;
    int enum_id = -1;
    int write_type = 1;
};

inline void put_var(const VarDef& v) {
    auto e = std::make_unique<MibVarEntry>();
    e->name = v.name;
    e->oid_str = v.name + "Str";
    e->oid_num = v.oid;
    e->data_type = v.data_type;
    e->write_type = v.write_type;
    e->port_class = v.port_class;
    e->inst_type = v.inst_type;
    e->enum_id = v.enum_id;
    e->def_val = "0";
    mib_data_list[v.id] = std::move(e);
    rebuild_mib_index();
}

inline void put_enum(int enum_id, const std::vector<std::pair<int, std::string>>& entries) {
    mib_enum_list[enum_id].clear();
    for (const auto& p : entries)
        mib_enum_list[enum_id].push_back(EnumEntry{p.first, p.second});
}

// Adds a function with the given variables; returns its slot.
inline int put_func(int slot, const std::string& name, const std::vector<int>& vars) {
    auto f = std::make_unique<MgmtFunction>();
    f->name = name;
    f->func_id = 100 + slot;
    f->var_list = vars;
    mib_func_list[slot] = std::move(f);
    tot_dat_mib_func = std::max(tot_dat_mib_func, slot + 1);
    return slot;
}

class SnmpAccessTest : public testing::Test {
  protected:
    void SetUp() override { reset_program_state(); }
    void TearDown() override { reset_program_state(); }
};

// A fresh record owned by the test.
struct RecordHolder {
    MorixRecord* rec = new MorixRecord();
    ~RecordHolder() { free_host_node(rec); }
    MorixRecord* operator->() { return rec; }
};
