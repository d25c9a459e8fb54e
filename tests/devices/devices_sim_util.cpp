#include "devices_sim_util.h"

#include <cstdlib>

#include "catalogue/func_catalogue.h"
#include "catalogue/mib_catalogue.h"
#include "frame/dispatch.h"
#include "snmp_access/morix_record.h"
#include "snmp_access/snmp_engine.h"
#include "ui/app_globals.h"
#include "ui_headless/ui_headless.h"

void DevicesSim::SetUp() {
    staged = std::make_unique<StagedInstall>();
    testing::internal::CaptureStdout();
    ASSERT_EQ(read_mib_info("data/gui_mm_data"), 0);
    ASSERT_EQ(read_func_info("data/gui_mm_data"), 0);
    testing::internal::GetCapturedStdout();
    mm_snmp_init();
    hl_reset();
    ui_list_set_policy(W_MRX_LIST, LSP_EXTENDED);
    rrr_flag = 0;
    g_cancel_process = 0;
    mm_snmp_def_to = 1;
    mm_snmp_def_rty = 1;
    mm_snmp_def_comm = "vantor";
}

void DevicesSim::TearDown() {
    free_host_info_list(host_info_list);
    free_host_info_list(host_disc_list);
    rrr_flag = 0;
    sim.reset();
}

bool DevicesSim::start(const std::vector<SimDeviceSetup>& devices,
                       const std::vector<std::string>& faults) {
    SimOptions o;
    o.devices = devices;
    o.faults = faults;
    sim = std::make_unique<SimProcess>(o);
    if (!sim->ready())
        ADD_FAILURE() << sim->error();
    return sim->ready();
}

std::string DevicesSim::derived_profile(const std::string& shipped, const std::string& extra) {
    static int serial = 0;
    std::string path = tmp.file(shipped + "." + std::to_string(++serial));
    write_file(path, read_file(sim_profile(shipped)) + "\n" + extra + "\n");
    return path;
}

bool DevicesSim::warned(const std::string& part) {
    for (const std::string& w : hl_texts("warn"))
        if (w.find(part) != std::string::npos)
            return true;
    return false;
}
