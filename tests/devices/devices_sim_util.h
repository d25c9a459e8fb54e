// Shared set-up of the device tests that talk to simulated devices.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/netns.h"
#include "support/sim_process.h"
#include "support/test_dirs.h"

// Skips a test that is not running inside the private network namespace.

// A copy of the installation tree with its catalogue loaded, the request
// engine prepared and the headless UI reset; the device list starts empty.
class DevicesSim : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Starts mrxsim with (profile file, address) pairs; false on failure.
    bool start(const std::vector<SimDeviceSetup>& devices,
               const std::vector<std::string>& faults = {});
    // A profile written into the temporary folder from a shipped one, with
    // extra lines appended (later lines override earlier keywords).
    std::string derived_profile(const std::string& shipped, const std::string& extra);
    // Whether a warning shown so far holds part.
    bool warned(const std::string& part);
    std::unique_ptr<StagedInstall> staged;
    std::unique_ptr<SimProcess> sim;
    TempDir tmp;
};
