// Show and Set against simulated devices, driven by widget id through the
// headless services as an operator (or mm_cli) drives the windows.
#pragma once

#include <string>
#include <vector>

#include "devices_sim_util.h"

class OpsSim : public DevicesSim {
  protected:
    void SetUp() override;
    // Starts mrxsim with the devices, starting values ("ADDR:NAME=VALUE")
    // and the control-set log in the temporary folder.
    bool start_logged(const std::vector<SimDeviceSetup>& devices,
                      const std::vector<std::string>& sets = {});
    // Adds the devices by name and selects every row.
    void add_all(const std::vector<std::string>& names);
    // Puts the names into the main parameter list, all selected.
    void choose_params(const std::vector<std::string>& names);
    // Opens the Set window for the chosen parameters.
    void open_set(const std::vector<std::string>& names);
    int row_of(const std::string& name);
    // Marks the row and types the value (an enumeration name for a menu).
    void mark(const std::string& name, const std::string& value);
    std::string set_messages();
    // Lines of the control-set log.
    std::vector<std::string> control_log();
    std::string log_path;
};
