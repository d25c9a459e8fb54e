// Device records and parameter chains: adding, reading back, freeing, the
// device list order and its bound, copying and the WAN-edit selection.
#include "snmp_access/product_types.h"
#include "snmp_access/session.h"
#include "snmp_test_util.h"

namespace {

class MorixRecordTest : public SnmpAccessTest {
  protected:
    void SetUp() override {
        SnmpAccessTest::SetUp();
        put_var({10, "sysDescr", "1.3.6.1.2.1.1.1"});
        put_var({11, "ifAdminStatus", "1.3.6.1.2.1.2.2.1.7", 3, 1, 1, 4});
        put_enum(4, {{1, "up"}, {2, "down"}, {3, "testing"}});
    }
    RecordHolder r;
};

std::vector<int> seqs(const MorixRecord* rec) {
    std::vector<int> v;
    for (const ParamNode* n = rec->prm_list; n; n = n->next)
        v.push_back(n->seq);
    return v;
}

TEST_F(MorixRecordTest, AddPrmNodeAppendsWithSequenceAndFreeEmpties) {
    EXPECT_EQ(add_prm_node(r.rec, 10, 0, 0, 0, "", "", 0), 0);
    EXPECT_EQ(add_prm_node(r.rec, 11, 1, 2, 2, "", "x", 0), 0);
    EXPECT_EQ(add_prm_node(r.rec, 11, 1, 3, -1, "7.3", "y", 0), 0);
    EXPECT_EQ(seqs(r.rec), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(r->prm_count, 3);
    const ParamNode* last = r->prm_list->next->next;
    EXPECT_EQ(last->inst_str, "7.3");
    EXPECT_EQ(last->value, "y");
    EXPECT_EQ(last->port_num, 3);
    EXPECT_EQ(last->next, nullptr);
    r->status = 4;
    free_prm_list(r.rec);
    EXPECT_EQ(r->prm_list, nullptr);
    EXPECT_EQ(r->prm_count, 0);
    EXPECT_EQ(r->status, 0);
}

// Appending goes through a kept tail; a copied chain, an emptied one and a
// chain linked to a record directly must all grow at their true end.
TEST_F(MorixRecordTest, AppendAfterTheChainChangedHands) {
    for (int i = 0; i < 3; ++i)
        add_prm_node(r.rec, 10, 0, 0, i, "", "", 0);
    RecordHolder d;
    cpy_host_node(d.rec, r.rec);
    add_prm_node(d.rec, 10, 0, 0, 3, "", "", 0);
    add_prm_node(r.rec, 11, 0, 0, 0, "", "", 0);
    EXPECT_EQ(seqs(d.rec), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(seqs(r.rec), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(r->prm_list->next->next->next->mib_index, 11);
    free_prm_list(r.rec);
    add_prm_node(r.rec, 12, 0, 0, 0, "", "", 0);
    EXPECT_EQ(seqs(r.rec), (std::vector<int>{0}));
    RecordHolder e;
    e->prm_list = d->prm_list;
    e->prm_count = d->prm_count;
    d->prm_list = nullptr;
    d->prm_count = 0;
    add_prm_node(e.rec, 12, 0, 0, 0, "", "", 0);
    add_prm_node(d.rec, 13, 0, 0, 0, "", "", 0);
    EXPECT_EQ(seqs(e.rec), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(seqs(d.rec), (std::vector<int>{0}));
}

TEST_F(MorixRecordTest, AddPrmNodeValueRules) {
    ASSERT_EQ(add_prm_node(r.rec, 10, 0, 0, 0, "", "\"\"", 0), 0);
    EXPECT_TRUE(r->prm_list->has_value);
    EXPECT_EQ(r->prm_list->value, "");
    // Only exactly two quotes mean "empty".
    ASSERT_EQ(add_prm_node(r.rec, 10, 0, 0, 0, "", "\"\"\"", 0), 0);
    EXPECT_EQ(r->prm_list->next->value, "\"\"\"");
    EXPECT_EQ(add_prm_node(r.rec, 10, 0, 0, 0, "", nullptr, 0), -5);
    EXPECT_EQ(add_prm_node(r.rec, 10, 0, 0, 0, nullptr, "", 0), -5);
    EXPECT_EQ(r->prm_count, 2);
}

TEST_F(MorixRecordTest, GetPrmValMatchesInstanceOrText) {
    add_prm_node(r.rec, 10, 0, 0, 0, "", "box one", 0);
    add_prm_node(r.rec, 11, 1, 1, 3, "", "2", 0);
    add_prm_node(r.rec, 11, 8, 1, -1, "7.3", "1", 0);
    std::string v, raw;
    EXPECT_EQ(get_prm_val(r.rec, "sysDescr", 0, "", &v, &raw), 1);
    EXPECT_EQ(v, "box one");
    EXPECT_EQ(raw, "box one");
    // Enumerated: the text for the value, the number in raw.
    EXPECT_EQ(get_prm_val(r.rec, "ifAdminStatus", 3, "", &v, &raw), 1);
    EXPECT_EQ(v, "down");
    EXPECT_EQ(raw, "2");
    // A text instance matches only on the text, whatever the number asked.
    EXPECT_EQ(get_prm_val(r.rec, "ifAdminStatus", -1, "7.3", &v, nullptr), 1);
    EXPECT_EQ(v, "up");
    EXPECT_EQ(get_prm_val(r.rec, "ifAdminStatus", 4, "", &v, nullptr), 0);
    EXPECT_EQ(get_prm_val(r.rec, "ifAdminStatusStr", 3, "", &v, nullptr), 1);
    EXPECT_EQ(get_prm_val(r.rec, "noSuchVar", 0, "", &v, nullptr), 0);
}

TEST_F(MorixRecordTest, GetPrmValRefusesFailedNodesAndUnknownEnumValues) {
    add_prm_node(r.rec, 11, 1, 1, 1, "", "2", 5);
    add_prm_node(r.rec, 11, 1, 2, 2, "", "9", 0);
    std::string v = "old", raw = "keep";
    EXPECT_EQ(get_prm_val(r.rec, "ifAdminStatus", 1, "", &v, &raw), 0);
    EXPECT_EQ(v, "");
    EXPECT_EQ(raw, "keep");
    EXPECT_EQ(get_prm_val(r.rec, "ifAdminStatus", 2, "", &v, &raw), 0);
    EXPECT_EQ(v, "");
    EXPECT_EQ(raw, "9");
}

TEST_F(MorixRecordTest, GetPrmValReturnsFirstMatchAndEmptyValues) {
    add_prm_node(r.rec, 10, 0, 0, 0, "", "", 0);
    add_prm_node(r.rec, 10, 0, 0, 0, "", "second", 0);
    std::string v, raw = "unchanged";
    EXPECT_EQ(get_prm_val(r.rec, "sysDescr", 0, "", &v, &raw), 1);
    EXPECT_EQ(v, "");
    EXPECT_EQ(raw, "unchanged");
}

MorixRecordPtr make_rec(const std::string& name, int product_type) {
    MorixRecordPtr m = new_host_node();
    m->name = name;
    m->product_type = product_type;
    return m;
}

int add_sorted(MorixRecordPtr m) {
    return host_info_list.insert(m, get_host_node_pos(m.get()));
}

std::vector<std::string> list_names() {
    std::vector<std::string> v;
    for (MorixRecord* m : host_info_list) {
        if (!m)
            break;
        v.push_back(m->name);
    }
    return v;
}

TEST_F(MorixRecordTest, DeviceListSortsByPriorityThenName) {
    add_sorted(make_rec("zeta", 22));   // NOT REACHABLE, 93
    add_sorted(make_rec("bravo", 2));   // ModelA, 21
    add_sorted(make_rec("alpha", 2));   // ModelA, 21
    add_sorted(make_rec("zulu", 10));   // ModelJ, 0
    add_sorted(make_rec("charlie", 4)); // ModelC, 10
    add_sorted(make_rec("Bravo", 2));   // capitals first in byte order
    EXPECT_EQ(list_names(),
              (std::vector<std::string>{"zulu", "charlie", "Bravo", "alpha", "bravo", "zeta"}));
    EXPECT_EQ(mrx_lst_cnt, 6);
    // An equal name goes before the existing one.
    EXPECT_EQ(get_host_node_pos(make_rec("alpha", 2).get()), 3);
    EXPECT_EQ(get_prod_type_pri(23), get_prod_type_pri(99));
    EXPECT_GT(get_prod_type_pri(23), get_prod_type_pri(22));
}

TEST_F(MorixRecordTest, DeviceListRefusesTheSixtyFourthRecord) {
    for (int i = 0; i < MAX_MRX_RECORDS; ++i)
        ASSERT_EQ(add_sorted(make_rec("dev" + std::to_string(100 + i), 2)), 0);
    MorixRecordPtr extra = make_rec("dev000", 2);
    EXPECT_EQ(host_info_list.insert(extra, get_host_node_pos(extra.get())), -1);
    EXPECT_NE(extra, nullptr); // a refused record stays with its owner
    EXPECT_EQ(mrx_lst_cnt, MAX_MRX_RECORDS);
    EXPECT_EQ(host_info_list[MAX_MRX_SLOTS - 1], nullptr);
    EXPECT_EQ(host_info_list[0]->name, "dev100");
    MorixRecordPtr bad = make_rec("x", 2);
    free_host_info_list(host_info_list);
    EXPECT_EQ(mrx_lst_cnt, 0);
    EXPECT_EQ(host_info_list.insert(bad, 1), -1); // past the end of an empty list
    EXPECT_EQ(host_info_list.insert(bad, 0), 0);
}

TEST_F(MorixRecordTest, TakeFindPutAndProgramResetKeepTheListWhole) {
    for (const char* n : {"a", "b", "c"})
        add_sorted(make_rec(n, 2));
    EXPECT_EQ(host_info_list.position("b"), 1);
    EXPECT_EQ(find_record("c"), host_info_list[2]);
    EXPECT_EQ(find_record("nothere"), nullptr);
    MorixRecordPtr b = host_info_list.take(1);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(list_names(), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(mrx_lst_cnt, 2);
    EXPECT_EQ(host_info_list.take(5), nullptr); // an empty slot gives nothing
    EXPECT_EQ(mrx_lst_cnt, 2);
    // put replaces what a slot held without counting it twice.
    host_disc_list.put(3, std::move(b));
    host_disc_list.put(3, make_rec("d", 2));
    host_disc_list.put(MAX_MRX_SLOTS, make_rec("e", 2)); // outside: dropped
    EXPECT_EQ(host_disc_list.count(), 1);
    EXPECT_EQ(host_disc_list[3]->name, "d");
    EXPECT_EQ(host_disc_list[-1], nullptr);

    g_cancel_process = 1;
    reset_program_state();
    EXPECT_EQ(mrx_lst_cnt, 0);
    EXPECT_EQ(host_info_list[0], nullptr);
    EXPECT_EQ(host_disc_list.count(), 0);
    EXPECT_EQ(g_cancel_process, 0);
}

TEST_F(MorixRecordTest, FreeHostInfoListValueFreesOnlySelectedReachableChains) {
    const int flags[4][2] = {{1, 1}, {1, 0}, {0, 1}, {0, 0}};
    std::vector<MorixRecord*> chosen;
    for (int i = 0; i < 4; ++i) {
        MorixRecordPtr m = make_rec("d" + std::to_string(i), 2);
        if (flags[i][0])
            chosen.push_back(m.get());
        m->reachable = flags[i][1];
        add_prm_node(m.get(), 10, 0, 0, 0, "", "", 0);
        add_sorted(std::move(m));
    }
    session().select(chosen);
    EXPECT_EQ(free_host_info_list(42), 42);
    EXPECT_EQ(host_info_list[0]->prm_count, 0);
    EXPECT_EQ(host_info_list[1]->prm_count, 1);
    EXPECT_EQ(host_info_list[2]->prm_count, 1);
    EXPECT_EQ(host_info_list[3]->prm_count, 1);
}

TEST_F(MorixRecordTest, CpyHostNodeCopiesFieldsAndGivesTheCopyItsOwnChain) {
    r->name = "src";
    r->has_info = true;
    r->info = "info";
    r->community = "c";
    r->timeout = 3000000;
    r->retries = 2;
    r->asy_ports = 16;
    r->wan_count = 2;
    r->wan_if_index = {5, 6};
    r->wan_chan_count = {24, 23};
    r->wan_module_type = {1, 2};
    r->product_type = 19;
    r->platform = 5;
    r->mac_addr = "m";
    add_prm_node(r.rec, 10, 0, 0, 0, "", "src-value", 0);
    RecordHolder d;
    d->platform = 9;
    add_prm_node(d.rec, 11, 0, 0, 0, "", "", 0); // replaced by the copy
    cpy_host_node(d.rec, r.rec);
    EXPECT_EQ(d->name, "src");
    EXPECT_EQ(d->info, "info");
    EXPECT_EQ(d->timeout, 3000000);
    EXPECT_EQ(d->asy_ports, 16);
    EXPECT_EQ(d->wan_if_index, (std::vector<int>{5, 6}));
    EXPECT_EQ(d->wan_chan_count, (std::vector<int>{24, 23}));
    EXPECT_EQ(d->product_type, 19);
    EXPECT_EQ(d->platform, 9); // not copied
    EXPECT_EQ(d->mac_addr, "");
    ASSERT_NE(d->prm_list, nullptr);
    EXPECT_NE(d->prm_list, r->prm_list);
    EXPECT_EQ(d->prm_list->mib_index, 10);
    EXPECT_EQ(d->prm_list->value, "src-value");
    EXPECT_EQ(d->prm_list->next, nullptr);
    EXPECT_EQ(d->prm_count, 1);
    // Freeing the copy's chain leaves the source's intact.
    free_prm_list(d.rec);
    ASSERT_NE(r->prm_list, nullptr);
    EXPECT_EQ(r->prm_list->value, "src-value");
    // A record without WAN modules still gets one interface index.
    RecordHolder e;
    RecordHolder none;
    none->wan_if_index = {1};
    cpy_host_node(e.rec, none.rec);
    EXPECT_EQ(e->wan_if_index, (std::vector<int>{1}));
}

TEST_F(MorixRecordTest, GetValidMorixLooksUpTheWanEditSelection) {
    morix_select.fill("");
    r->name = "alpha";
    EXPECT_EQ(get_valid_morix(r.rec), -1);
    set_morix_select(0, "beta");
    set_morix_select(1, "alpha");
    EXPECT_EQ(get_valid_morix(r.rec), 0);
    r->name = "gamma";
    EXPECT_EQ(get_valid_morix(r.rec), -1);
    for (int i = 0; i < MAX_MORIX_SELECT; ++i)
        set_morix_select(i, "x" + std::to_string(i));
    EXPECT_EQ(get_valid_morix(r.rec), 0);
    set_morix_select(0, std::string(40, 'n'));
    EXPECT_EQ(morix_select[0].size(), 29u);
    morix_select.fill("");
}

} // namespace
