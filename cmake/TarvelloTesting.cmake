# Test helpers shared by every test folder.
#
# Native builds use Debian's GoogleTest package. The Windows build compiles GoogleTest from
# /usr/src/googletest and runs every test executable under Wine through a private prefix in
# the build folder (one CTest entry per executable: starting a Wine process costs seconds).

if(WIN32)
    if(NOT TARGET gtest)
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
        set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
        add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    endif()
    set(TARVELLO_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix used by the tests")
    configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                    WORLD_READ WORLD_EXECUTE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
    set(TARVELLO_GTEST_LIBS gtest gmock)
else()
    find_package(GTest REQUIRED)
    set(TARVELLO_GTEST_LIBS GTest::gtest GTest::gmock)
endif()

# tarvello_add_test(NAME SOURCES src... [LIBS lib...] [TIMEOUT seconds] [MAIN])
# MAIN: the test brings its own main(); otherwise gtest_main is linked.
function(tarvello_add_test name)
    cmake_parse_arguments(T "MAIN" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} ${TARVELLO_GTEST_LIBS})
    if(NOT T_MAIN)
        if(WIN32)
            target_link_libraries(${name} PRIVATE gtest_main)
        else()
            target_link_libraries(${name} PRIVATE GTest::gtest_main)
        endif()
    endif()
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
endfunction()
