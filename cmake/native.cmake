# Host build: the engine's unit tests against the in-memory file system.
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB native_test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(core_tests ${native_test_sources})
target_link_libraries(core_tests PRIVATE vx_memory_fs GTest::gtest GTest::gtest_main)
gtest_discover_tests(core_tests DISCOVERY_TIMEOUT 30)
