// Profiles and the object views built from them and the catalogue.
#include <gtest/gtest.h>

#include <algorithm>
#include <dirent.h>
#include <set>

#include "catalogue/mib_catalogue.h"
#include "sim_device.h"
#include "snmp_access/product_types.h"
#include "support/sim_process.h"
#include "support/test_dirs.h"
#include "ui/app_globals.h"

namespace {

class SimProfiles : public ::testing::Test {
  protected:
    void SetUp() override {
        mm_dir = sim_catalogue_dir();
        ASSERT_EQ(read_mib_info("."), 0);
    }

    int parse(const std::string& text, SimProfile* p, std::string* err) {
        write_file(tmp.file("p.prof"), text);
        return read_sim_profile(tmp.file("p.prof"), p, err);
    }

    TempDir tmp;
};

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

TEST_F(SimProfiles, BadValueTextsAreRefusedByType) {
    const std::pair<int, const char*> bad[] = {{ASN_IPADDRESS, "10.1.2"},
                                               {ASN_IPADDRESS, "10.1.2.256"},
                                               {ASN_INTEGER, "12x"},
                                               {ASN_GAUGE, "-1"},
                                               {ASN_OBJECT_ID, "1..3"}};
    for (const auto& [type, text] : bad) {
        SimValue v;
        EXPECT_EQ(value_from_text(type, -1, text, &v), -1) << text;
    }
    SimValue v;
    ASSERT_EQ(value_from_text(ASN_OCTET_STR, -1, "hex:00:ff", &v), 0);
    EXPECT_EQ(v.bytes, std::string("\0\xff", 2));
}

} // namespace
