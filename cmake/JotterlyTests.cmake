find_package(GTest REQUIRED)

# Every test runs with the sanitizer settings of the build (reports are fatal).
function(jotterly_test_environment test)
    if(JOTTERLY_TEST_ENVIRONMENT)
        set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT ${JOTTERLY_TEST_ENVIRONMENT})
    endif()
endfunction()

# One GoogleTest executable per subsystem folder: tests/<kind>/<subsystem>/*.cpp.
function(jotterly_add_test_dir kind subsystem)
    set(dir ${CMAKE_SOURCE_DIR}/tests/${kind}/${subsystem})
    file(GLOB _sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    if(NOT _sources)
        return()
    endif()
    set(name test_${kind}_${subsystem})
    add_executable(${name} ${_sources})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_compile_definitions(${name} PRIVATE
        JOTTERLY_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
        JOTTERLY_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
        JOTTERLY_BINARY_DIR="${CMAKE_BINARY_DIR}")
    if(kind STREQUAL "gui")
        target_link_libraries(${name} PRIVATE jotterly_gui_test_support jotterly_gui Qt6::Test
                                              GTest::gtest)
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                                                LABELS gui TIMEOUT 600)
    else()
        target_link_libraries(${name} PRIVATE jotterly_test_support jotterly_core GTest::gtest
                                              GTest::gmock GTest::gtest_main)
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES LABELS core TIMEOUT 600)
    endif()
    jotterly_test_environment(${name})
endfunction()

# The core's folder layers: a folder includes only the folders below it.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME include_directions
         COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/cmake/check_includes.py
                 ${CMAKE_SOURCE_DIR}/src)
set_tests_properties(include_directions PROPERTIES LABELS core)

# Formatting is part of the build's rules: every C++ file must be as clang-format writes it.
find_program(CLANG_FORMAT clang-format REQUIRED)
file(GLOB_RECURSE _formatted CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp
     ${CMAKE_SOURCE_DIR}/src/*.h ${CMAKE_SOURCE_DIR}/tests/*.cpp ${CMAKE_SOURCE_DIR}/tests/*.h
     ${CMAKE_SOURCE_DIR}/bench/*.cpp ${CMAKE_SOURCE_DIR}/bench/*.h ${CMAKE_SOURCE_DIR}/fuzz/*.cpp)
add_test(NAME format_check COMMAND ${CLANG_FORMAT} --dry-run --Werror ${_formatted})
set_tests_properties(format_check PROPERTIES LABELS core)
