# Cross build for 32-bit Windows: the Win32 layer, the program and the tests that run under Wine.
set(CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS} -static -static-libgcc -static-libstdc++")
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)

# Every Windows-side test runs through this wrapper: one Wine prefix per build tree, code page 936,
# and a drive T: mapped to a scratch folder of the build tree.
set(VX_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(VX_TEST_DRIVE ${CMAKE_BINARY_DIR}/testdrive)
configure_file(${CMAKE_SOURCE_DIR}/tools/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_library(vx_win32 STATIC
  win32/win32_file_system.cpp
  win32/system_lead_bytes.cpp
  win32/module_folder.cpp)
target_link_libraries(vx_win32 PUBLIC vx_core)

if(EXISTS ${CMAKE_SOURCE_DIR}/ui/CMakeLists.txt)
  add_subdirectory(ui)
endif()

file(GLOB win_test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
add_library(vx_scratch STATIC ${CMAKE_SOURCE_DIR}/tests/support/scratch_folder.cpp)
target_link_libraries(vx_scratch PUBLIC vx_win32)

add_executable(win32_tests ${win_test_sources})
target_link_libraries(win32_tests PRIVATE vx_win32 vx_scratch vx_memory_fs gtest gtest_main)
target_compile_definitions(win32_tests PRIVATE VX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
add_test(NAME win32_tests COMMAND win32_tests)
set_tests_properties(win32_tests PROPERTIES TIMEOUT 300)
