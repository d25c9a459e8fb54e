# Discovery tests: the exchange, network discovery and start-up rules
# (test_discovery_net), and search-device discovery with Update and Save
# (test_discovery_search), against mrxsim, in-test responders and Debian's
# snmpd. Included from tests/devices/CMakeLists.txt; paths are relative to
# this file so that it can be included from any folder.
if(TARGET mrxsim)
  set(disc_dir ${CMAKE_CURRENT_LIST_DIR})
  mm_add_test(test_discovery_net
    ${disc_dir}/test_discovery_net.cpp ${disc_dir}/discovery_test_util.cpp
    ${disc_dir}/devices_sim_util.cpp)
  target_include_directories(test_discovery_net PRIVATE ${disc_dir})
  add_dependencies(test_discovery_net mrxsim stage)

  mm_add_test(test_discovery_search
    ${disc_dir}/test_discovery_search.cpp ${disc_dir}/discovery_test_util.cpp
    ${disc_dir}/devices_sim_util.cpp)
  target_include_directories(test_discovery_search PRIVATE ${disc_dir})
  add_dependencies(test_discovery_search mrxsim stage)
endif()
