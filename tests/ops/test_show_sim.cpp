// Show through the Show window against simulated devices.
#include <gtest/gtest.h>

#include "frame/dispatch.h"
#include "ops/show.h"
#include "ops_sim_util.h"
#include "ui_headless/ui_headless.h"

namespace {

const std::string STARS(72, '*');
const std::string A = "127.0.31.1", B = "127.0.31.2";

class ShowSim : public OpsSim {
  protected:
    void show(const std::vector<std::string>& names, int toggle, const std::string& ports) {
        choose_params(names);
        dispatch_main(W_SHOW_PB);
        ui_set_toggle(toggle, true, true);
        dispatch_main(toggle);
        ui_set_text(W_SHOW_PORT_TF, ports);
        hl_clear_events();
        dispatch_main(W_SHOW_APPLY);
    }
    std::string section(const std::string& dev, const std::string& lines) {
        return "\n\n" + STARS + "\n\nMORIX : " + dev + "\n\n" + lines;
    }
};

TEST_F(ShowSim, ReportOfTwoDevicesAndACancelInTheSecond) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start_logged({{sim_profile("modelj.prof"), A}, {sim_profile("modelj.prof"), B}},
                             {B + ":mrxpMode.3=ppp"}));
    add_all({A, B});
    show({"sysName", "mrxpMode"}, 133, "2,3");
    std::string lines = "\nsysName : mrx-%\nmrxpMode (asy port 2) : cli\nmrxpMode (asy port 3) : ";
    auto dev = [&](const std::string& a, const std::string& mode) {
        std::string l = lines;
        l.replace(l.find('%'), 1, a);
        return section(a, l + mode + "\n");
    };
    EXPECT_EQ(ui_get_text(W_SHOW_TEXT),
              std::string(SHOW_BANNER) + dev(A, "cli") + dev(B, "ppp") + "\n\n" + STARS + "\n\n");
    EXPECT_TRUE(hl_texts("warn").empty());
    EXPECT_EQ(ui_get_text(W_SHOW_PORT_TF), "2,3");

    // The second device's fetch is cancelled: it is reported as such.
    ui_set_text(W_SHOW_TEXT, "");
    hl_cancel_at(2);
    dispatch_main(W_SHOW_APPLY);
    EXPECT_EQ(ui_get_text(W_SHOW_TEXT), dev(A, "cli") + section(B, "") +
                                            "\n\nOperation cancelled.\n\n\n\n\n" + STARS + "\n\n");
}

TEST_F(ShowSim, PortWarningsAndWanModuleNumbers) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start_logged({{sim_profile("modelj.prof"), A}, {sim_profile("modelt.prof"), B}}));
    add_all({A, B});
    // Port 40 does not exist on a 32-port device; async ports are no WAN
    // module numbers, on the ModelT either.
    show({"mrxpMode"}, 133, "40");
    EXPECT_EQ(hl_texts("warn"),
              std::vector<std::string>{"<" + A +
                                       ">  Port number(s) 40 do not exist (this Morix "
                                       "has async ports 1-32; they are not read)."});
    EXPECT_EQ(ui_get_text(W_SHOW_PORT_TF), "40");
    // Module 1 of the ModelT becomes its interface index for the WAN variable.
    ui_list_select_pos(W_MRX_LIST, 1, false);
    ui_list_deselect_pos(W_MRX_LIST, 1);
    ui_set_text(W_SHOW_TEXT, "");
    show({"dsx1LineType"}, 728, "1");
    EXPECT_TRUE(hl_texts("warn").empty()) << hl_texts("warn")[0];
    EXPECT_NE(ui_get_text(W_SHOW_TEXT).find("dsx1LineType (ds1inf port "), std::string::npos);
}

} // namespace
