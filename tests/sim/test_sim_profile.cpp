// Profiles and the object views built from them and the catalogue.
#include <gtest/gtest.h>

#include <algorithm>
#include <dirent.h>
#include <set>

#include "catalogue/mib_catalogue.h"
#include "snmp_access/product_types.h"
#include "ui/app_globals.h"
#include "sim_device.h"
#include "support/sim_process.h"
#include "support/test_dirs.h"

namespace {

class SimProfiles : public ::testing::Test {
  protected:
    void SetUp() override {
        mm_dir = sim_catalogue_dir();
        ASSERT_EQ(read_mib_info("."), 0);
    }

    // Instances (dotted) of a variable in the view of a shipped profile.
    std::vector<std::string> instances(const std::string& profile, const std::string& name) {
        SimProfile p;
        std::string err;
        EXPECT_EQ(read_sim_profile(sim_profile(profile), &p, &err), 0) << err;
        DeviceView v;
        EXPECT_EQ(build_device_view(p, {"127.0.9.1"}, &v, &err), 0) << err;
        std::vector<std::string> out;
        for (const ViewEntry& e : v.entries) {
            if (e.label == name)
                out.push_back(e.instance);
        }
        return out;
    }

    int parse(const std::string& text, SimProfile* p, std::string* err) {
        write_file(tmp.file("p.prof"), text);
        return read_sim_profile(tmp.file("p.prof"), p, err);
    }

    TempDir tmp;
};

TEST_F(SimProfiles, ShippedProfilesCoverEveryPlatformClassAndTheSpecialDevices) {
    std::string dir = sim_profile("");
    DIR* d = opendir(dir.c_str());
    ASSERT_NE(d, nullptr) << dir;
    std::set<int> classes;
    int comm_servers = 0, old_release = 0, foreign = 0, count = 0;
    while (dirent* e = readdir(d)) {
        std::string n = e->d_name;
        if (n.size() < 6 || n.substr(n.size() - 5) != ".prof")
            continue;
        SimProfile p;
        std::string err;
        ASSERT_EQ(read_sim_profile(dir + "/" + n, &p, &err), 0) << err;
        DeviceView v;
        ASSERT_EQ(build_device_view(p, {"127.0.9.1"}, &v, &err), 0) << err;
        count++;
        int t = p.product_type;
        bool comm = t == 1 || (t >= 2 && t <= 7) || t == 11;
        comm_servers += comm;
        foreign += !p.sys_object_id.empty() && p.sys_object_id.rfind("1.3.6.1.4.1.32473.", 0) != 0;
        old_release += p.rel_major != 14 || p.rel_minor != 1;
        if (!comm && t >= 8 && p.rel_major == 14 && p.rel_minor == 1)
            classes.insert(platform_of_product(t));
    }
    closedir(d);
    EXPECT_EQ(classes, (std::set<int>{1, 2, 3, 4, 5}));
    EXPECT_GE(comm_servers, 1);
    EXPECT_GE(old_release, 2); // the unsupported release and the foreign device
    EXPECT_GE(foreign, 1);
    EXPECT_GE(count, 15);
}

TEST_F(SimProfiles, BadLinesAreRefusedWithTheirLineNumber) {
    SimProfile p;
    std::string err;
    EXPECT_EQ(parse("# c\nproduct_type 10\nports 4 1\n", &p, &err), -1);
    EXPECT_NE(err.find(":3:"), std::string::npos) << err;
    EXPECT_EQ(parse("colour blue\n", &p, &err), -1);
    EXPECT_NE(err.find("unknown keyword"), std::string::npos);
    EXPECT_EQ(parse("allow_sets 3\n", &p, &err), -1);
    EXPECT_EQ(parse("module 0 8 24\n", &p, &err), -1);
    EXPECT_EQ(parse("arp 1 127.0.0.300 08:00:2b:00:00:01\n", &p, &err), -1);
    EXPECT_EQ(parse("fault drop 101\n", &p, &err), -1);
    EXPECT_EQ(parse("fault wobble\n", &p, &err), -1);
    EXPECT_EQ(read_sim_profile(tmp.file("missing.prof"), &p, &err), -1);
}

TEST_F(SimProfiles, ValuesFaultsAndStructureAreRead) {
    SimProfile p;
    std::string err;
    ASSERT_EQ(parse("product_type 19\nsys_descr  A  B \nrelease 14 0\nports 8 2 1\n"
                    "module 2 1 23 PRI 5\nmodems 3 X2\nset sysContact  two words\n"
                    "set mrxcReset.0 3\nfault drop 25\nfault seed 9\nfault stray\n",
                    &p, &err),
              0)
        << err;
    EXPECT_EQ(p.sys_descr, "A  B");
    EXPECT_EQ(p.rel_minor, 0);
    EXPECT_EQ(p.syn_ports, 2);
    ASSERT_EQ(p.modules.size(), 1u);
    EXPECT_EQ(p.modules[0].firmware, "PRI 5");
    EXPECT_EQ(p.modems, (std::vector<std::string>{"X2", "X2", "X2"}));
    ASSERT_EQ(p.sets.size(), 2u);
    EXPECT_EQ(p.sets[0].value, "two words");
    EXPECT_EQ(p.sets[1].instance, "0");
    EXPECT_EQ(p.faults.drop_pct, 25);
    EXPECT_EQ(p.faults.seed, 9u);
    EXPECT_TRUE(p.faults.stray);
}

TEST_F(SimProfiles, SetLinesMustNameAnObjectAndFitItsType) {
    SimProfile p;
    std::string err;
    DeviceView v;
    ASSERT_EQ(parse("product_type 10\nset noSuchThing 1\n", &p, &err), 0);
    EXPECT_EQ(build_device_view(p, {"127.0.9.1"}, &v, &err), -1);
    ASSERT_EQ(parse("product_type 10\nset mrxcReset banana\n", &p, &err), 0);
    EXPECT_EQ(build_device_view(p, {"127.0.9.1"}, &v, &err), -1);
    // an enumeration name is taken for its number
    ASSERT_EQ(parse("product_type 10\nset mrxcReset ethernet\n", &p, &err), 0);
    ASSERT_EQ(build_device_view(p, {"127.0.9.1"}, &v, &err), 0) << err;
    auto it = std::find_if(v.entries.begin(), v.entries.end(),
                           [](const ViewEntry& e) { return e.label == "mrxcReset"; });
    ASSERT_NE(it, v.entries.end());
    EXPECT_EQ(it->value.num, 13);
}

TEST_F(SimProfiles, PortInstancesFollowTheCatalogueInstanceRules) {
    // charPortReset: async p, printer async ports + p (ModelG: 16 async, 1 printer)
    std::vector<std::string> cpr = instances("modelg.prof", "charPortReset");
    ASSERT_EQ(cpr.size(), 17u);
    EXPECT_EQ(cpr.back(), "17");
    // WAN channels: 23 on a PRI device of class 4, 24 on a class 3 device
    EXPECT_EQ(instances("modelq.prof", "mrxt1ChanStatus").size(), 23u);
    EXPECT_EQ(instances("modelq.prof", "mrxt1ChanStatus").front(), "2.1");
    EXPECT_EQ(instances("modeln.prof", "mrxt1ChanStatus").size(), 24u);
    // class 5: every module's channels, and 96 intervals per module
    EXPECT_EQ(instances("modelu.prof", "mrxt1ChanStatus").size(), 23u + 30u);
    EXPECT_EQ(instances("modelu.prof", "dsx1IntervalESs").size(), 2u * 96u);
    // module tables by interface index, the index table by module number
    EXPECT_EQ(instances("modelt.prof", "mrxt1PRIModuleType"), (std::vector<std::string>{"2", "3"}));
    EXPECT_EQ(instances("modelt.prof", "mrxt1WanIfIndex"), (std::vector<std::string>{"1", "2"}));
    // internal modems
    EXPECT_EQ(instances("modelj.prof", "mrxpModemStatus").size(), 8u);
    EXPECT_TRUE(instances("modelg.prof", "mrxpModemStatus").empty());
    // the interface table: en0 first, then the async ports
    std::vector<std::string> ifd = instances("modelg.prof", "ifDescr");
    ASSERT_EQ(ifd.size(), 1u + 16u + 1u + 1u);
    EXPECT_EQ(ifd[0], "1");
    EXPECT_EQ(instances("modelg.prof", "ipNetToMediaNetAddress").front(), "1.127.0.0.1");
    // a foreign device has none of the family's objects
    EXPECT_TRUE(instances("not_morix.prof", "swRevMajor").empty());
    EXPECT_EQ(instances("not_morix.prof", "sysDescr").size(), 1u);
}

TEST_F(SimProfiles, ValueTextsConvertByType) {
    SimValue v;
    EXPECT_EQ(value_from_text(ASN_IPADDRESS, -1, "10.1.2.3", &v), 0);
    EXPECT_EQ(value_to_text(v), "10.1.2.3");
    EXPECT_EQ(value_from_text(ASN_IPADDRESS, -1, "10.1.2", &v), -1);
    EXPECT_EQ(value_from_text(ASN_IPADDRESS, -1, "10.1.2.256", &v), -1);
    EXPECT_EQ(value_from_text(ASN_INTEGER, -1, "12x", &v), -1);
    EXPECT_EQ(value_from_text(ASN_INTEGER, -1, "-5", &v), 0);
    EXPECT_EQ(v.num, -5);
    EXPECT_EQ(value_from_text(ASN_GAUGE, -1, "-1", &v), -1);
    EXPECT_EQ(value_from_text(ASN_OBJECT_ID, -1, ".1.3.6", &v), 0);
    EXPECT_EQ(value_to_text(v), "1.3.6");
    EXPECT_EQ(value_from_text(ASN_OBJECT_ID, -1, "1..3", &v), -1);
    EXPECT_EQ(value_from_text(ASN_OCTET_STR, -1, "hex:00:ff", &v), 0);
    EXPECT_EQ(v.bytes, std::string("\0\xff", 2));
}

} // namespace
