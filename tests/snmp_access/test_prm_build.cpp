// Expansion of variables and functions into parameter nodes, and the port
// requirement of the operator's selection with its messages.
#include "snmp_access/port_inst.h"
#include "snmp_access/session.h"
#include "snmp_test_util.h"

namespace {

struct NodeView {
    int port_type, port_num, instance;
    std::string inst_str;
    bool operator==(const NodeView& o) const {
        return port_type == o.port_type && port_num == o.port_num && instance == o.instance &&
               inst_str == o.inst_str;
    }
};
std::ostream& operator<<(std::ostream& os, const NodeView& n) {
    return os << "{" << n.port_type << "," << n.port_num << "," << n.instance << ",'" << n.inst_str
              << "'}";
}

std::vector<NodeView> nodes(const MorixRecord* rec) {
    std::vector<NodeView> v;
    for (const ParamNode* n = rec->prm_list; n; n = n->next)
        v.push_back({n->port_type, n->port_num, n->instance, n->inst_str});
    return v;
}

class BuildTest : public SnmpAccessTest {
  protected:
    void SetUp() override {
        SnmpAccessTest::SetUp();
        put_var({1, "scalar", "1.3.6.1.4.1.32473.2.1", 2, 0, 0});
        put_var({2, "asyVar", "1.3.6.1.4.1.32473.2.2", 3, 1, 1});
        put_var({3, "chanVar", "1.3.6.1.4.1.32473.2.3", 3, 7, 7});
        put_var({4, "intvVar", "1.3.6.1.4.1.32473.2.4", 3, 8, 8});
        put_var({5, "asySynVar", "1.3.6.1.4.1.32473.2.5", 3, 4, 2});
        put_var({6, "mdmVar", "1.3.6.1.4.1.32473.2.6", 2, 0, 1});
        r->asy_ports = 4;
        r->syn_ports = 2;
        r->modem_count = 3;
        r->wan_count = 2;
        r->wan_if_index = {7, 9};
        r->wan_chan_count = {3, 2};
        r->platform = 1;
        r->name = "dev";
    }
    RecordHolder r;
};

TEST_F(BuildTest, ScalarGetsOneNodeWhateverThePorts) {
    EXPECT_EQ(build_prm(r.rec, 1, 2, {5, 6}, 1, 1, "v"), 0);
    EXPECT_EQ(nodes(r.rec), (std::vector<NodeView>{{0, 0, 0, ""}}));
    EXPECT_EQ(r->prm_list->value, "v");
}

TEST_F(BuildTest, ExplicitPortsSkipThoseThatDoNotExist) {
    EXPECT_EQ(build_prm(r.rec, 0, 4, {2, 0, 5, 4}, 1, 2, ""), PORT_NOT_FOUND);
    EXPECT_EQ(nodes(r.rec), (std::vector<NodeView>{{1, 2, 2, ""}, {1, 4, 4, ""}}));
    free_prm_list(r.rec);
    // Only the first port_count entries are used.
    EXPECT_EQ(build_prm(r.rec, 0, 1, {1, 99}, 1, 2, ""), 0);
    EXPECT_EQ(r->prm_count, 1);
    free_prm_list(r.rec);
    EXPECT_EQ(build_prm(r.rec, 0, 2, {1, 2}, 2, 5, ""), 0);
    EXPECT_EQ(nodes(r.rec), (std::vector<NodeView>{{2, 1, 5, ""}, {2, 2, 6, ""}}));
}

TEST_F(BuildTest, AllPortsOfTheDevice) {
    EXPECT_EQ(build_prm(r.rec, 1, 0, {}, 1, 2, ""), 0);
    EXPECT_EQ(r->prm_count, 4);
    free_prm_list(r.rec);
    EXPECT_EQ(build_prm(r.rec, 1, 0, {}, 8, 3, ""), 0); // class 1: 24 channels of module 1
    EXPECT_EQ(r->prm_count, 24);
    EXPECT_EQ(r->prm_list->inst_str, "7.1");
    free_prm_list(r.rec);
    r->syn_ports = 0;
    EXPECT_EQ(build_prm(r.rec, 1, 0, {}, 2, 5, ""), PORT_NOT_FOUND);
    EXPECT_EQ(r->prm_count, 0);
}

TEST_F(BuildTest, PlatformClassFiveExpandsChannelsAndIntervals) {
    r->platform = 5;
    EXPECT_EQ(build_prm(r.rec, 1, 0, {}, 8, 3, ""), 0);
    EXPECT_EQ(nodes(r.rec), (std::vector<NodeView>{{8, 1, -1, "7.1"},
                                                   {8, 2, -1, "7.2"},
                                                   {8, 3, -1, "7.3"},
                                                   {8, 1, -1, "9.1"},
                                                   {8, 2, -1, "9.2"}}));
    free_prm_list(r.rec);
    EXPECT_EQ(build_prm(r.rec, 1, 1, {9}, 9, 4, ""), 0);
    ASSERT_EQ(r->prm_count, 96);
    const ParamNode* last = r->prm_list;
    while (last->next)
        last = last->next;
    EXPECT_EQ(last->inst_str, "9.96");
    EXPECT_EQ(last->port_num, 96);
    EXPECT_EQ(last->seq, 95);
    free_prm_list(r.rec);
    // Without a given port the first interface is used.
    EXPECT_EQ(build_prm(r.rec, 1, 0, {}, 9, 4, ""), 0);
    EXPECT_EQ(r->prm_list->inst_str, "7.1");
    free_prm_list(r.rec);
    // Internal modems are plain ports even on class 5.
    put_var({6, "mdmVar", "1.3.6.1.4.1.32473.2.6", 2, 1, 1});
    EXPECT_EQ(build_prm(r.rec, 1, 0, {}, 10, 6, ""), 0);
    EXPECT_EQ(r->prm_count, 3);
}

TEST_F(BuildTest, InconsistentWanArraysDoNotOverrun) {
    r->wan_count = 3; // arrays hold only two modules
    EXPECT_EQ(handle_modelt(r.rec, 3, 8, ""), 1);
    EXPECT_EQ(r->prm_count, 5);
}

MorixRecord* listed(const std::string& name, int sel, int reach) {
    MorixRecordPtr owned = new_host_node();
    MorixRecord* m = owned.get();
    m->name = name;
    m->reachable = reach;
    m->asy_ports = 2;
    m->wan_if_index = {1};
    host_info_list.insert(owned, get_host_node_pos(m));
    std::vector<MorixRecord*> chosen = session().selection();
    if (sel)
        chosen.push_back(m);
    session().select(chosen);
    return m;
}

TEST_F(BuildTest, FunctionExpansionForSelectedReachableDevices) {
    int f = put_func(0, "grp", {1, 2, 5, 3, 77});
    MorixRecord* a = listed("a", 1, 1);
    MorixRecord* b = listed("b", 1, 0);
    MorixRecord* c = listed("c", 1, 1);
    c->asy_ports = 1;
    // Port type 1: scalar, asyVar, asySynVar; chanVar does not fit, 77 is unknown.
    EXPECT_EQ(build_mgmt_func_mult(f, 0, 1, {2}, 1), PORT_NOT_FOUND);
    EXPECT_EQ(a->prm_count, 3);
    EXPECT_EQ(b->prm_count, 0);
    EXPECT_EQ(c->prm_count, 1); // port 2 does not exist on c
    std::vector<int> ids;
    for (const ParamNode* n = a->prm_list; n; n = n->next)
        ids.push_back(n->mib_index);
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 5}));
    EXPECT_EQ(build_mgmt_func_sng(f, 1, 0, {}, 1, b), 0);
    EXPECT_EQ(b->prm_count, 1 + 2 + 2);
    EXPECT_EQ(build_mgmt_func_mult(99, 1, 0, {}, 1), 0);
}

TEST_F(BuildTest, PortRequirementOfParametersAndFunctions) {
    using Items = std::vector<std::string>;
    const Items three = {"scalar", "asyVar", "asySynVar"};
    int fi = -1;
    EXPECT_EQ(check_rqr_port(three, 1, 1, &fi), PRQ_ALL_MATCH);
    EXPECT_EQ(check_rqr_port(three, 1, 2, &fi), PRQ_SOME_MATCH);
    EXPECT_EQ(check_rqr_port(three, 1, 4, &fi), PRQ_NONE_MATCH);
    EXPECT_EQ(check_rqr_port(Items{"scalar"}, 1, 4, &fi), PRQ_NO_PORT_PRMS);
    EXPECT_EQ(check_rqr_port(Items{"scalar", "bogus"}, 1, 1, &fi), PRQ_NO_PRM);

    put_func(3, "scalars", {1, 6});
    put_func(4, "ports", {2, 3});
    for (int t : {0, 1, 4, 8, 9})
        EXPECT_EQ(check_rqr_port(Items{"scalars"}, 0, t, &fi), PRQ_NO_PORT_PRMS);
    EXPECT_EQ(fi, 3);
    EXPECT_EQ(check_rqr_port(Items{"ports"}, 0, 8, &fi), PRQ_SOME_MATCH);
    EXPECT_EQ(fi, 4);
    EXPECT_EQ(check_rqr_port(Items{"nothere"}, 0, 8, &fi), PRQ_NO_FUNC);
    EXPECT_EQ(check_rqr_port(Items{}, 0, 8, &fi), PRQ_NO_FUNC);
}

TEST_F(BuildTest, ProcessRqrPortTellsTheOperator) {
    std::vector<std::string> w;
    std::string field = "1-3";
    int all = 7, count = 7;
    std::vector<int> p = process_rqr_port(PRQ_ALL_MATCH, field, &all, &count, 1, &w);
    EXPECT_EQ(p, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(count, 3);
    EXPECT_TRUE(w.empty());

    field = "";
    p = process_rqr_port(PRQ_SOME_MATCH, field, &all, &count, 1, &w);
    EXPECT_TRUE(p.empty());
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(w[0], "You did not enter port numbers. The current operation\nwill not process "
                    "port related parameters.");
    EXPECT_EQ(w[1].substr(0, 39), "The port type you selected does not mat");
    EXPECT_NE(w[1].find("It will not use those port parameters that do not match."),
              std::string::npos);
    w.clear();

    process_rqr_port(PRQ_ALL_MATCH, field, &all, &count, 0, &w);
    EXPECT_TRUE(w.empty());

    field = "all";
    all = count = 5;
    p = process_rqr_port(PRQ_NO_PORT_PRMS, field, &all, &count, 1, &w);
    EXPECT_TRUE(p.empty());
    EXPECT_EQ(all + count, 0);
    EXPECT_TRUE(w.empty());

    p = process_rqr_port(PRQ_NONE_MATCH, field, &all, &count, 1, &w);
    EXPECT_TRUE(p.empty());
    ASSERT_EQ(w.size(), 1u);
    EXPECT_NE(w[0].find("It will not use port parameters."), std::string::npos);
    w.clear();
    process_rqr_port(PRQ_NO_FUNC, field, &all, &count, 1, &w);
    process_rqr_port(99, field, &all, &count, 1, &w);
    EXPECT_EQ(w, (std::vector<std::string>{"Could not find internal references to a parameter "
                                           "group or parameter. Software error.",
                                           "Invalid internal error code. Software error."}));
    p = process_rqr_port(PRQ_ALL_MATCH, field, &all, &count, 1, &w);
    EXPECT_EQ(all, 1);
}

} // namespace
