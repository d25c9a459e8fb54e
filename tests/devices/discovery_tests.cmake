# Discovery tests, against mrxsim, in-test responders and Debian's snmpd.
# Included from tests/devices/CMakeLists.txt; paths are relative to this
# file so that it can be included from any folder.
set(disc_dir ${CMAKE_CURRENT_LIST_DIR})
mm_add_test(test_discovery ${disc_dir}/test_discovery.cpp ${disc_dir}/discovery_test_util.cpp
  ${disc_dir}/devices_sim_util.cpp)
target_include_directories(test_discovery PRIVATE ${disc_dir})
add_dependencies(test_discovery mrxsim stage)
